#include "platform/x11/PamWorker.h"

#include <utility>

namespace nimbrel::x11 {

PamWorker::~PamWorker() {
    std::deque<Job> abandoned;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        abandoned.swap(jobs_);
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    for (Job& job : abandoned) {
        job.password.wipe();
        job.reply(AuthOutcome::systemCancel);
    }
}

void PamWorker::submit(SecretBytes password, AuthReply reply) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(Job{std::move(password), std::move(reply)});
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { run(); });
        }
    }
    wake_.notify_one();
}

void PamWorker::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) {
            return;
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        AuthOutcome outcome = check_(job.password);
        job.password.wipe();
        job.reply(outcome);
        // The reply's captures go here too, before the next check, not on a later one's turn.
        job.reply = nullptr;
        lock.lock();
    }
}

}  // namespace nimbrel::x11
