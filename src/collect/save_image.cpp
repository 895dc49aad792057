#include "collect/save_image.h"

#include <system_error>

#include "http/download_bytes.h"
#include "text/file_primitives.h"

namespace tessaly {
namespace {

using What = PictureFailure::What;
using Outcome = PictureFailure::Outcome;

bool IsSuccess(int httpStatus) { return httpStatus >= 200 && httpStatus <= 299; }

bool HoldsPicture(const Text& path) { return FileLength(path) > 0; }

// Whether the file at `path` is better than what has just arrived for `address`.
bool WorthKeeping(const RunState& state, const Text& address, const Text& path) {
  const auto written = state.PicturesWritten.find(path);
  if (written == state.PicturesWritten.end()) return HoldsPicture(path);
  // The same link pasted twice, or two products sharing a picture.
  return written->second == address && HoldsPicture(path);
}

}  // namespace

void SaveImage(RunState& state, const Text& address, const Text& path) {
  int httpStatus = 0;
  bool complete = false;
  Bytes bytes = DownloadBytes(address, &httpStatus, &complete);
  PictureFailure failure{address, path, What::kCutOff, httpStatus, Outcome::kPartSaved};
  if (bytes.empty() || !IsSuccess(httpStatus)) {
    failure.what = httpStatus == 0 || IsSuccess(httpStatus) ? What::kNoAnswer : What::kHttpError;
    bytes.clear();
  } else if (complete) {
    if (WriteFileBytes(path, bytes)) {
      state.PicturesWritten[path] = address;
      state.Window.ImageSaved(path);
    }
    return;
  }

  if (WorthKeeping(state, address, path)) {
    failure.outcome = Outcome::kKeptEarlier;
  } else if (WriteFileBytes(path, bytes)) {
    state.PicturesWritten[path] = Text();
    failure.outcome = bytes.empty() ? Outcome::kPlaceholder : Outcome::kPartSaved;
  } else {
    failure.outcome = Outcome::kNotWritten;
  }
  state.Window.PictureFailed(failure);
}

}  // namespace tessaly
