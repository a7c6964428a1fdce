#pragma once
// A fixed number of frame buffers passing between the thread that reads
// frames back and the thread that feeds the encoder: empty ones go one way,
// filled ones the other, so neither thread allocates and the reader waits
// only when every buffer is still with the writer.
//
// Threads: any number of threads may call any function. close() wakes every
// waiting call; afterwards the calls return at once (takeFilled still hands
// out what was filled before, then nullopt).
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

struct QueuedFrame {
    int index = 0;
    std::vector<std::uint8_t> pixels;
};

class FrameQueue {
public:
    FrameQueue(std::size_t frameBytes, int bufferCount);

    // An empty buffer; waits for one. Returns nullopt once closed.
    std::optional<QueuedFrame> takeEmpty();
    void giveFilled(QueuedFrame frame);
    // The oldest filled buffer; waits for one. Returns nullopt when closed
    // and nothing filled is left.
    std::optional<QueuedFrame> takeFilled();
    void giveEmpty(QueuedFrame frame);
    void close();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QueuedFrame> empty_;
    std::deque<QueuedFrame> filled_;
    bool closed_ = false;
};
