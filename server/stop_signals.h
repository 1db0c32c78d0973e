#pragma once

#include "server/score_server.h"

namespace vastorim::server {

// Holds SIGINT and SIGTERM back from this thread and every thread started after it, and lets a
// client that hangs up mid-reply (SIGPIPE) end nothing. Call first in main, before any thread.
void holdStopSignals();

// Runs the server until SIGINT or SIGTERM arrives, then stops it cleanly: requests in progress
// are answered and the caller can close the database. Gives run()'s result.
bool serveUntilStopSignal(ScoreServer& server);

} // namespace vastorim::server
