#include "record/FrameQueue.h"

FrameQueue::FrameQueue(std::size_t frameBytes, int bufferCount) {
    for (int i = 0; i < bufferCount; ++i) {
        empty_.push_back(QueuedFrame{0, std::vector<std::uint8_t>(frameBytes)});
    }
}

std::optional<QueuedFrame> FrameQueue::takeEmpty() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || !empty_.empty(); });
    if (closed_) {
        return std::nullopt;
    }
    QueuedFrame frame = std::move(empty_.front());
    empty_.pop_front();
    return frame;
}

void FrameQueue::giveFilled(QueuedFrame frame) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        filled_.push_back(std::move(frame));
    }
    changed_.notify_all();
}

std::optional<QueuedFrame> FrameQueue::takeFilled() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || !filled_.empty(); });
    if (filled_.empty()) {
        return std::nullopt;
    }
    QueuedFrame frame = std::move(filled_.front());
    filled_.pop_front();
    return frame;
}

void FrameQueue::giveEmpty(QueuedFrame frame) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        empty_.push_back(std::move(frame));
    }
    changed_.notify_all();
}

void FrameQueue::close() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}
