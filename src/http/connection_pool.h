#pragma once

// The connections that requests and downloads leave open for reuse.
namespace tessaly {

// Closes the idle connections (and forgets TLS sessions and resolved names) once
// the transfers running now have ended; later transfers start a fresh cache. A
// server that is about to stop then need not wait for the client to give up its
// kept-alive connections.
void ReleaseIdleConnections();

}  // namespace tessaly
