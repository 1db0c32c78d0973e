#pragma once

#include <atomic>
#include <functional>

namespace vastorim {

// Work that may take long (the network) kept off the frame loop. Jobs run one at a time on one
// worker thread, in the order they were posted. A job touches no game state: what it finds comes
// back as a step that the main loop runs on the main thread at the start of a frame, again in
// order, so the game sees each result as if the job had run right there.
using MainThreadStep = std::function<void()>;
using BackgroundJob = std::function<MainThreadStep(const std::atomic<bool>& stop)>;

// Queues a job; the worker starts with the first one. A job should end soon once `stop` is set.
void postBackgroundJob(BackgroundJob job);

// Runs the steps of the jobs finished so far.
void applyFinishedJobs();

// Blocks until every job posted so far has run (its step is then ready to apply).
void waitForBackgroundJobs();

// True while a job is queued or running, or its step has not been applied yet.
bool backgroundJobsPending();

// Sets the running job's `stop`, drops the queued jobs and the steps not yet applied, and ends
// the worker: the module is back in its start-up state.
void stopBackgroundJobs();

} // namespace vastorim
