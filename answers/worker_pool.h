#pragma once
// Threads that live as long as a run: each batch is shared among them and
// the caller, and Run returns when every part is done. Starting threads for
// every batch cost more than small batches take.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ambrelay {

class WorkerPool {
public:
    // `helpers` threads besides the caller's own.
    explicit WorkerPool(std::size_t helpers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The threads that work: the helpers and the caller.
    std::size_t Workers() const { return threads_.size() + 1; }

    // Calls work(part, worker) for every part in [0, parts), on the helpers
    // and the caller together (the caller is worker 0, each helper another
    // below Workers()); returns when all are done. `work` must not throw.
    using Work = std::function<void(std::size_t part, std::size_t worker)>;
    void Run(std::size_t parts, const Work& work);

private:
    void Help(std::size_t worker);
    bool TakePart(std::size_t& part);

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const Work* work_ = nullptr;
    std::size_t next_ = 0, parts_ = 0, unfinished_ = 0, round_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace ambrelay
