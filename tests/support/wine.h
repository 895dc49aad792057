#pragma once

namespace tessaly::testing {

// Whether this Windows test program runs under Wine rather than Windows (false
// in the Linux build). A few system services differ there, and a test that meets
// one says so and skips rather than passing silently.
bool RunningUnderWine();

}  // namespace tessaly::testing
