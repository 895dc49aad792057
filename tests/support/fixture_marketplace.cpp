#include "support/fixture_marketplace.h"

#include <cstdlib>

#include "config/hosts.h"
#include "support/sockets.h"
#include "text/gbk.h"

namespace tessaly::testing {
namespace {

constexpr char kImageHost[] = "cbu01.alicdn.com";
constexpr char kDescriptionHost[] = "itemcdn.1688.com";
constexpr char kVersionPath[] = "/e/yz/didud_uvadadu.txt";

// "https://host/path" → {host, path}.
std::pair<std::string, std::string> SplitAddress(const std::string& address) {
  const auto scheme_end = address.find("://");
  const auto host_start = scheme_end == std::string::npos ? 0 : scheme_end + 3;
  const auto path_start = address.find('/', host_start);
  if (path_start == std::string::npos) return {address.substr(host_start), "/"};
  return {address.substr(host_start, path_start - host_start), address.substr(path_start)};
}

// The gallery shows small pictures: the size suffix goes before the extension.
std::string WithSizeSuffix(const std::string& address) {
  const auto dot = address.rfind('.');
  if (dot == std::string::npos) return address + ".400x400";
  return address.substr(0, dot) + ".400x400" + address.substr(dot);
}

std::string DescriptionPath(const std::string& id) { return "/1688offer/" + id + ".html"; }

std::string RenderDescription(const std::vector<std::string>& images) {
  std::string html = "var offer_details={\"content\":\"<p>";
  for (const std::string& image : images) {
    html += "<img src=\\\"" + image + "\\\" alt=\\\"\\\"/>";
  }
  return html + "</p>\"};";
}

std::string RenderWall(const std::string& charset) {
  return "<!DOCTYPE html>\n<html><head>\n<meta charset=\"" + charset +
         "\">\n<title>登录</title>\n</head><body>\n<div class=\"login-tab\">手机号登录</div>\n"
         "</body></html>\n";
}

std::string RenderSkuProps(const FixtureProduct& product) {
  if (product.skus.empty()) return {};
  std::string json = "\"skuProps\":[{\"prop\":\"颜色\",\"value\":[";
  bool first = true;
  for (const auto& [name, image] : product.skus) {
    if (!first) json += ",";
    first = false;
    json += "{\"name\":\"" + name + "\"";
    if (!image.empty()) json += ",\"imageUrl\":\"" + image + "\"";
    json += "}";
  }
  // A second option list follows, as on real pages; the first "]}," ends the first.
  return json + "]},{\"prop\":\"尺码\",\"value\":[{\"name\":\"均码\"}]}]";
}

NativeSocket BindRefusingSocket(int& port) {
  if (!StartSockets()) return kNoSocket;
  const NativeSocket fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd == kNoSocket) return kNoSocket;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof(address);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseSocket(fd);
    return kNoSocket;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

MarketplaceSeams::MarketplaceSeams(FixtureMarketplace& marketplace)
    : marketplace_(marketplace), seams_(marketplace.Server()) {
  {
    std::lock_guard lock(marketplace_.mutex_);
    marketplace_.seams_ = this;
  }
  marketplace_.ApplySeams();
}

MarketplaceSeams::~MarketplaceSeams() {
  std::lock_guard lock(marketplace_.mutex_);
  marketplace_.seams_ = nullptr;
}

FixtureMarketplace::FixtureMarketplace() {
  refusing_socket_ = BindRefusingSocket(refusing_port_);
  server_.Handle(hosts::kWebHost, kVersionPath, [this](const auto&, auto& response) {
    std::lock_guard lock(mutex_);
    response.set_content(version_text_, "text/plain");
  });
}

FixtureMarketplace::~FixtureMarketplace() {
  if (refusing_socket_ != kNoSocket) CloseSocket(refusing_socket_);
}

std::string FixtureMarketplace::GalleryImage(const std::string& id, int number) {
  return std::string("https://") + kImageHost + "/img/ibank/2019/" + id + "_" +
         std::to_string(number) + ".jpg";
}

std::string FixtureMarketplace::DescriptionImage(const std::string& id, int number) {
  return std::string("https://") + kImageHost + "/img/ibank/desc/" + id + "-" +
         std::to_string(number) + ".jpg";
}

std::string FixtureMarketplace::SkuImage(const std::string& id, int number) {
  return std::string("https://") + kImageHost + "/img/ibank/sku/" + id + "-" +
         std::to_string(number) + ".jpg";
}

std::string FixtureMarketplace::ImageBytes(const std::string& address) {
  // A JPEG start marker, then the address: distinct bytes for every picture.
  return std::string("\xFF\xD8\xFF\xE0", 4) + "fixture picture " + address;
}

std::string FixtureMarketplace::ProductPagePath(const std::string& id) {
  return "/offer/" + id + ".html";
}

std::string FixtureMarketplace::RenderPage(const FixtureProduct& product) {
  if (product.wall) {
    const std::string wall = RenderWall(product.charset);
    return product.charset == "gbk" ? Utf8ToGbk(wall) : wall;
  }
  std::string html = "<!DOCTYPE html>\n<html><head>\n<meta charset=\"" + product.charset +
                     "\">\n<title>" + product.title + " - 阿里巴巴</title>\n";
  if (!product.title.empty()) {
    html += "<meta property=\"og:title\" content=\"" + product.title + "\"/>\n";
  }
  if (!product.price.empty()) {
    html += "<meta property=\"og:product:price\" content=\"" + product.price + "\"/>\n";
  }
  html += "</head><body>\n";
  if (!product.item_number.empty()) {
    html +=
        "<div class=\"obj-attr\"><span>货号:" + product.item_number + "，品牌:其他</span></div>\n";
  }
  html += "<div class=\"tab-content-container\"><ul class=\"nav nav-tabs fd-clr\">\n";
  for (const std::string& image : product.gallery_images) {
    html += "<li class=\"tab-trigger\"><div class=\"vertical-img\"><img src=\"" +
            WithSizeSuffix(image) + "\" alt=\"\"/></div></li>\n";
  }
  html += "</ul></div>\n<a hidefocus=\"true\" class=\"next\" href=\"#\">next</a>\n";
  if (!product.description_images.empty()) {
    html += "<div id=\"desc-lazyload-container\" data-tfs-url=\"" + DescriptionAddress(product.id) +
            "\"></div>\n";
  }
  html += "<script>var iDetailData = {\"sku\":{" + RenderSkuProps(product) + "}};</script>\n";
  html += "</body></html>\n";
  return product.charset == "gbk" ? Utf8ToGbk(html) : html;
}

std::string FixtureMarketplace::DescriptionAddress(const std::string& id) {
  return std::string("https://") + kDescriptionHost + DescriptionPath(id);
}

void FixtureMarketplace::ServeBytes(const std::string& address,
                                    std::shared_ptr<const std::string> bytes,
                                    const std::string& type) {
  const auto [host, path] = SplitAddress(address);
  server_.Handle(host, path, [bytes = std::move(bytes), type](const auto&, auto& response) {
    response.set_content(*bytes, type);
  });
}

void FixtureMarketplace::AddProduct(const FixtureProduct& product) {
  SetProductPage(product.id, RenderPage(product));
  if (!product.description_images.empty()) {
    const std::string document = RenderDescription(product.description_images);
    server_.Handle(
        kDescriptionHost, DescriptionPath(product.id),
        [document](const auto&, auto& response) { response.set_content(document, "text/html"); });
  }
  for (const std::string& image : product.gallery_images) ServeImage(image);
  for (const std::string& image : product.description_images) ServeImage(image);
  for (const auto& sku : product.skus) {
    if (!sku.second.empty()) ServeImage(sku.second);
  }
}

void FixtureMarketplace::SetProductPage(const std::string& id, const std::string& body) {
  server_.Handle(hosts::kProductHost, ProductPagePath(id),
                 [body](const auto&, auto& response) { response.set_content(body, "text/html"); });
}

void FixtureMarketplace::SetVersionText(const std::string& text) {
  std::lock_guard lock(mutex_);
  version_text_ = text;
}

void FixtureMarketplace::SetVersionReachable(bool reachable) {
  {
    std::lock_guard lock(mutex_);
    version_reachable_ = reachable;
  }
  ApplySeams();
}

void FixtureMarketplace::SetImageStatus(const std::string& address, int status) {
  std::lock_guard lock(mutex_);
  std::erase_if(image_statuses_, [&](const auto& entry) { return entry.first == address; });
  if (status != 0) image_statuses_.emplace_back(address, status);
}

void FixtureMarketplace::ServeImage(const std::string& address) {
  const auto [host, path] = SplitAddress(address);
  server_.Handle(host, path, [this, address](const auto&, auto& response) {
    int status = 0;
    {
      std::lock_guard lock(mutex_);
      for (const auto& [failing, code] : image_statuses_) {
        if (failing == address) status = code;
      }
    }
    if (status == kCutOff) {
      const std::string bytes = ImageBytes(address);
      response.set_content_provider(
          bytes.size(), "image/jpeg",
          [bytes](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset > 0) return false;  // closes the connection mid-body
            sink.write(bytes.data(), bytes.size() / 2);
            return true;
          });
      return;
    }
    if (status != 0) {
      response.status = status;
      response.set_content("<html><body><h1>" + std::to_string(status) + "</h1></body></html>",
                           "text/html");
      return;
    }
    response.set_content(ImageBytes(address), "image/jpeg");
  });
}

std::string FixtureMarketplace::ConnectToValue() const {
  std::string value;
  {
    std::lock_guard lock(mutex_);
    // The first entry that names the host wins over the catch-all ones.
    if (!version_reachable_) {
      value =
          std::string(hosts::kWebHost) + ":80:127.0.0.1:" + std::to_string(refusing_port_) + ",";
    }
  }
  return value + server_.ConnectToValue();
}

void FixtureMarketplace::ApplySeams() const {
  bool active = false;
  {
    std::lock_guard lock(mutex_);
    active = seams_ != nullptr;
  }
  if (active) SetEnvironment("TESSALY_CONNECT_TO", ConnectToValue());
}

std::vector<std::string> FixtureMarketplace::PathsRequested(const std::string& host) const {
  std::vector<std::string> paths;
  for (const RecordedRequest& request : server_.Requests()) {
    if (request.host == host) paths.push_back(request.path);
  }
  return paths;
}

std::vector<std::optional<std::string>> FixtureMarketplace::ProductPageCookies() const {
  std::vector<std::optional<std::string>> cookies;
  for (const RecordedRequest& request : server_.Requests()) {
    if (request.host != hosts::kProductHost) continue;
    const auto found = request.headers.find("Cookie");
    cookies.push_back(found == request.headers.end() ? std::nullopt : std::optional(found->second));
  }
  return cookies;
}

}  // namespace tessaly::testing
