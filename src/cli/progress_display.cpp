#include "cli/progress_display.h"

#include "cli/console.h"

namespace tessaly::cli {
namespace {

// Redrawing for every image would flood a slow terminal (a remote session) on a
// fast network; a few frames a second are enough to see it move.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out, std::FILE* notes, bool updating)
    : out_(out), notes_(notes), updating_(updating) {}

ProgressDisplay::~ProgressDisplay() { EndLine(); }

void ProgressDisplay::Status(const std::string& text, bool progress) {
  if (updating_ && progress) {
    progress_text_ = text;
    Redraw();
    return;
  }
  EndLine();
  WriteText(out_, text + "\n");
  std::fflush(out_);
}

void ProgressDisplay::ImageSaved() {
  ++images_saved_;
  if (line_open_ && std::chrono::steady_clock::now() - last_redraw_ >= kRedrawInterval) Redraw();
}

void ProgressDisplay::Note(const std::string& text) {
  EndLine();
  std::fflush(out_);
  WriteText(notes_, text + "\n");
  std::fflush(notes_);
}

void ProgressDisplay::EndLine() {
  if (!line_open_) return;
  // The last frame may have been skipped; the line that stays shows the final count.
  Redraw();
  WriteText(out_, "\n");
  std::fflush(out_);
  line_open_ = false;
}

void ProgressDisplay::Redraw() {
  // "\r" back to the line's start, "ESC [ K" erases what a longer frame left behind.
  WriteText(out_,
            "\r\x1b[K" + progress_text_ + "  (" + std::to_string(images_saved_) + " images saved)");
  std::fflush(out_);
  line_open_ = true;
  last_redraw_ = std::chrono::steady_clock::now();
}

}  // namespace tessaly::cli
