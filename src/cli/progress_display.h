#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace tessaly::cli {

// The run's status texts on standard output. On a terminal the per-product
// progress texts share one line that is redrawn in place, with the count of
// images saved so far; elsewhere (a pipe, a file) every status is a plain line of
// its own, so scripts can read them. Notes for the user go to standard error.
class ProgressDisplay {
 public:
  ProgressDisplay(std::FILE* out, std::FILE* notes, bool updating);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  // `progress`: one of the run's "product M of N" texts.
  void Status(const std::string& text, bool progress);
  void ImageSaved();
  void Note(const std::string& text);
  // Ends a line being redrawn, so that what follows starts on a fresh line.
  void EndLine();

 private:
  void Redraw();

  std::FILE* out_;
  std::FILE* notes_;
  bool updating_;
  bool line_open_ = false;
  std::string progress_text_;
  int images_saved_ = 0;
  std::chrono::steady_clock::time_point last_redraw_{};
};

}  // namespace tessaly::cli
