#pragma once

#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

namespace vk::cli {

// Hands whole lines to a target stream under a lock, each after a prefix, so that lines of
// several threads never run into each other; keeps the last line and whether any came.
class LineStream : public std::streambuf {
public:
    LineStream(std::ostream& target, std::mutex& lock, std::string prefix = {})
        : target_(target), lock_(lock), prefix_(std::move(prefix)) {}
    ~LineStream() override { Flush(); }

    const std::string& LastLine() const { return last_; }
    bool Wrote() const { return wrote_; }
    // Hands on a line that has no end yet.
    void Flush();

protected:
    int overflow(int c) override;

private:
    void Emit();

    std::ostream& target_;
    std::mutex& lock_;
    std::string prefix_;
    std::string line_;
    std::string last_;
    bool wrote_ = false;
};

}  // namespace vk::cli
