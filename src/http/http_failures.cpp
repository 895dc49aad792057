#include "http/http_failures.h"

#include "text/gbk.h"

namespace tessaly {

Text HttpFailureMessage(int number) {
  switch (number) {
    case 700:
      return "700 当前系统不支持WinHttp服务!"_gbk;
    case 701:
      return "701 解析URL地址失败!"_gbk;
    case 702:
      return "702 创建WinHttp会话失败!"_gbk;
    case 703:
      return "703 创建WinHttp连接失败!"_gbk;
    case 704:
      return "704 创建WinHttp请求失败!"_gbk;
    case 705:
      return "705 设置超时时间失败!"_gbk;
    case 707:
      return "707 设置代理凭证失败!"_gbk;
    case 708:
      return "708 禁止自动设置Cookies失败!"_gbk;
    case 709:
      return "709 重定向设置失败!"_gbk;
    case 710:
      return "710 设置协议头失败!"_gbk;
    case 711:
      return "711 发送请求失败!"_gbk;
    case 712:
      return "712 服务器未响应!"_gbk;
    case 713:
      return "713 读取数据失败!"_gbk;
    default:
      return {};
  }
}

int TransferFailureNumber(CURLcode code, bool connected, bool sentWhole, bool haveHeaders) {
  if (code == CURLE_OK) return 0;
  if (haveHeaders) return 713;
  if (!connected) {
    if (code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL) return 701;
    return 711;
  }
  if (code == CURLE_SEND_ERROR || !sentWhole) return 711;
  return 712;
}

}  // namespace tessaly
