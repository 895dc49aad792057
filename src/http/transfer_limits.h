#pragma once

#include <cstddef>

// Bounds that keep a hostile or broken server from exhausting the process: a page
// or a download larger than the cap is cut there and treated as a read that failed
// part-way (the bytes so far are kept).
namespace tessaly {

inline constexpr std::size_t kDefaultBodyCap = std::size_t{64} << 20;

std::size_t BodyCap();

// Lets tests show the cap without sending 64 MB; 0 restores the default.
void SetBodyCapForTesting(std::size_t bytes);

// How long a download may wait for its next byte (30 s). Tests shorten it to show a
// stalled picture ending without waiting half a minute; 0 restores the default.
// Bounds connecting and then each wait for data, never a whole transfer, for pages
// and downloads alike.
inline constexpr long kDefaultTimeoutMs = 30000;
inline constexpr long kDefaultDownloadIdleMs = kDefaultTimeoutMs;
long DownloadIdleMs();
void SetDownloadIdleForTesting(long milliseconds);

}  // namespace tessaly
