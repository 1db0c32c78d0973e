#include "engine/background_jobs.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace vastorim {
namespace {

struct BackgroundJobs {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<BackgroundJob> queued;
    std::deque<MainThreadStep> finished;
    bool running = false;
    std::atomic<bool> stop = false;
    std::thread worker;

    // Stops the running job, drops everything still waiting and joins the worker.
    void endWorker() {
        {
            std::lock_guard lock(mutex);
            stop = true;
            queued.clear();
            finished.clear();
            changed.notify_all();
        }
        if (worker.joinable()) {
            worker.join();
        }
    }

    // A program that ends without stopping the jobs still ends cleanly.
    ~BackgroundJobs() { endWorker(); }
};

BackgroundJobs jobs;

void runJobs() {
    std::unique_lock lock(jobs.mutex);
    for (;;) {
        jobs.changed.wait(lock, [] { return jobs.stop || !jobs.queued.empty(); });
        if (jobs.stop) {
            return;
        }
        BackgroundJob job = std::move(jobs.queued.front());
        jobs.queued.pop_front();
        jobs.running = true;
        lock.unlock();
        MainThreadStep step;
        try {
            step = job(jobs.stop);
        } catch (const std::exception&) {
            // A job that fails has nothing to hand back; the game goes on without its result.
        }
        lock.lock();
        jobs.running = false;
        if (step && !jobs.stop) {
            jobs.finished.push_back(std::move(step));
        }
        jobs.changed.notify_all();
    }
}

} // namespace

void postBackgroundJob(BackgroundJob job) {
    std::lock_guard lock(jobs.mutex);
    jobs.queued.push_back(std::move(job));
    if (!jobs.worker.joinable()) {
        jobs.worker = std::thread(runJobs);
    }
    jobs.changed.notify_all();
}

void applyFinishedJobs() {
    std::deque<MainThreadStep> steps;
    {
        std::lock_guard lock(jobs.mutex);
        steps.swap(jobs.finished);
    }
    for (const MainThreadStep& step : steps) {
        step();
    }
}

void waitForBackgroundJobs() {
    std::unique_lock lock(jobs.mutex);
    jobs.changed.wait(lock, [] { return jobs.queued.empty() && !jobs.running; });
}

bool backgroundJobsPending() {
    std::lock_guard lock(jobs.mutex);
    return jobs.running || !jobs.queued.empty() || !jobs.finished.empty();
}

void stopBackgroundJobs() {
    jobs.endWorker();
    jobs.stop = false;
}

} // namespace vastorim
