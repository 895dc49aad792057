#include "collect/save_image.h"

#include <filesystem>
#include <system_error>

#include "http/download_bytes.h"
#include "text/file_primitives.h"

namespace tessaly {
namespace {

bool IsSuccess(int httpStatus) { return httpStatus >= 200 && httpStatus <= 299; }

bool HoldsEarlierPicture(const Text& path) {
  std::error_code error;
  const std::filesystem::path native(NativePath(path));
  return std::filesystem::is_regular_file(native, error) &&
         std::filesystem::file_size(native, error) > 0 && !error;
}

}  // namespace

void SaveImage(WindowOperations& window, const Text& address, const Text& path) {
  int httpStatus = 0;
  bool complete = false;
  Bytes bytes = DownloadBytes(address, &httpStatus, &complete);
  if (bytes.empty() || !IsSuccess(httpStatus)) {
    if (HoldsEarlierPicture(path)) return;
    bytes.clear();
  } else if (!complete && HoldsEarlierPicture(path)) {
    // A picture cut off mid-way is kept only where there is nothing better.
    return;
  }
  if (WriteFileBytes(path, bytes)) window.ImageSaved(path);
}

}  // namespace tessaly
