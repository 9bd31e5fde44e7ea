#ifndef QCGRAPH_TOOLS_COMMAND_LINE_H
#define QCGRAPH_TOOLS_COMMAND_LINE_H

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that does not follow a command's usage; what() says what is wrong.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// An option a command accepts: its name with dashes ("-k", "--time") and how many values
// follow it (0 for a switch).
struct OptionSpec {
    const char* name;
    int values;
};

// The arguments of one subcommand, split into options and positional arguments. Options may
// stand anywhere, take their values as the following arguments or, for one value, after "="
// ("--max-length=4"); "--" ends the options. "--help" is always accepted.
class CommandLine {
public:
    // Throws UsageError for an unknown option, a missing value or an option given twice.
    CommandLine(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs);

    bool helpAsked() const { return has("--help"); }
    bool has(const std::string& option) const { return mOptions.count(option) != 0; }
    // The values of an option that was given (an empty list for a switch).
    const std::vector<std::string>& values(const std::string& option) const;
    const std::vector<std::string>& positional() const { return mPositional; }

    // Throws UsageError unless exactly `count` positional arguments were given; `names`
    // lists them for the message ("GRAPH FROM TO").
    void expectPositional(std::size_t count, const char* names) const;
    // The single value of `option` as an integer in [low, high], or `fallback` when the
    // option is absent. Throws UsageError for anything else.
    std::int64_t integer(const std::string& option, std::int64_t low, std::int64_t high,
                         std::int64_t fallback) const;

private:
    std::map<std::string, std::vector<std::string>> mOptions;
    std::vector<std::string> mPositional;
};

// The text as an integer in [low, high]; throws UsageError naming `what` otherwise.
std::int64_t integerArgument(const std::string& text, const std::string& what, std::int64_t low,
                             std::int64_t high);

#endif
