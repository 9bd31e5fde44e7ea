// The tool's line reader on its edge cases: a file that grows after it was opened (its buffer
// was sized for the first length), CRLF ends, an unterminated last line and an over-long line.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "GraphFileError.h"
#include "LineSource.h"

namespace {

std::string scratchFile(const std::string& content)
{
    const std::string path = testing::TempDir() + "qcgraph-lines-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::vector<std::string> rest(LineSource& source)
{
    std::vector<std::string> lines;
    std::string_view line;
    while (source.next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(LineSource, ReadsLinesOfAFileThatGrowsWhileOpen)
{
    const std::string path = scratchFile("a 1\r\nb 2\n");
    LineSource source(path);
    // Appended after the buffer was sized for the first 9 bytes.
    std::ofstream(path, std::ios::binary | std::ios::app) << std::string(5000, 'x') << "\nc";
    EXPECT_EQ(rest(source), (std::vector<std::string>{"a 1", "b 2", std::string(5000, 'x'), "c"}));
    EXPECT_EQ(source.lineNumber(), 4u);
    EXPECT_TRUE(source.lineIsUnterminated());
    std::remove(path.c_str());
}

TEST(LineSource, ProgressEndsAtTheWholeFile)
{
    // Several blocks' worth, so that progress is reported more than once.
    std::string content;
    for (int i = 0; i < 700000; ++i)
        content += "a 1 2 3\n";
    const std::string path = scratchFile(content);
    std::vector<LoadProgress> reports;
    LineSource source(path, [&reports](const LoadProgress& p) { reports.push_back(p); });
    EXPECT_EQ(rest(source).size(), 700000u);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.back().bytesRead, content.size());
    EXPECT_EQ(reports.back().bytesTotal, content.size());
    EXPECT_EQ(reports.back().lines, 700000u);
    std::remove(path.c_str());
}

TEST(LineSource, RefusesALineLongerThanOneMebibyte)
{
    const std::string path = scratchFile("ok\n" + std::string(LineSource::maxLineBytes + 1, '7'));
    LineSource source(path);
    std::string_view line;
    ASSERT_TRUE(source.next(line));
    try {
        source.next(line);
        FAIL() << "an over-long line was accepted";
    } catch (const GraphFileError& e) {
        EXPECT_EQ(std::string(e.what()), path + ":2: line longer than 1 MiB (not a text file?)");
    }
    std::remove(path.c_str());
}

}  // namespace
