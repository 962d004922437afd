#include "answers/worker_pool.h"

namespace ambrelay {

WorkerPool::WorkerPool(std::size_t helpers)
{
    for (std::size_t i = 0; i < helpers; ++i) {
        threads_.emplace_back([this, i] { Help(i + 1); });
    }
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

bool WorkerPool::TakePart(std::size_t& part)
{
    if (next_ >= parts_) {
        return false;
    }
    part = next_++;
    return true;
}

void WorkerPool::Run(std::size_t parts, const Work& work)
{
    std::unique_lock<std::mutex> lock(mutex_);
    work_ = &work;
    next_ = 0;
    parts_ = parts;
    unfinished_ = parts;
    ++round_;
    wake_.notify_all();
    std::size_t part = 0;
    while (TakePart(part)) {
        lock.unlock();
        work(part, 0);
        lock.lock();
        --unfinished_;
    }
    done_.wait(lock, [this] { return unfinished_ == 0; });
    work_ = nullptr;
}

void WorkerPool::Help(std::size_t worker)
{
    std::unique_lock<std::mutex> lock(mutex_);
    std::size_t seen = 0;
    while (true) {
        wake_.wait(lock, [&] { return stopping_ || (round_ != seen && next_ < parts_); });
        if (stopping_) {
            return;
        }
        seen = round_;
        std::size_t part = 0;
        while (TakePart(part)) {
            const auto* work = work_;
            lock.unlock();
            (*work)(part, worker);
            lock.lock();
            if (--unfinished_ == 0) {
                done_.notify_all();
            }
        }
    }
}

}  // namespace ambrelay
