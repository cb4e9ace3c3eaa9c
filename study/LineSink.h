#pragma once

#include <string>
#include <vector>

namespace ldc {

// Where the results and report texts go, one line at a time: a window's text area,
// standard output, or a list in the tests. Lines are UTF-8 without line ends.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void appendLine(const std::string& line) = 0;
};

class LineList : public LineSink {
public:
    void appendLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

}  // namespace ldc
