#include "CommandLine.h"

#include <charconv>

CommandLine::CommandLine(const std::vector<std::string>& args,
                         const std::vector<OptionSpec>& specs)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            mPositional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        int wanted = -1;
        if (name == "--help")
            wanted = 0;
        for (const OptionSpec& option : specs)
            if (name == option.name)
                wanted = option.values;
        if (wanted < 0)
            throw UsageError("unknown option '" + name + "'");
        if (mOptions.count(name) != 0)
            throw UsageError("option '" + name + "' given twice");
        std::vector<std::string>& values = mOptions[name];
        if (equals != std::string::npos) {
            if (wanted != 1)
                throw UsageError("option '" + name + "' takes " +
                                 (wanted == 0 ? "no value" : "its values as separate arguments"));
            values.push_back(arg.substr(equals + 1));
            continue;
        }
        for (int v = 0; v < wanted; ++v) {
            if (++i == args.size())
                throw UsageError("option '" + name + "' needs " + std::to_string(wanted) +
                                 (wanted == 1 ? " value" : " values"));
            values.push_back(args[i]);
        }
    }
}

const std::vector<std::string>& CommandLine::values(const std::string& option) const
{
    return mOptions.at(option);
}

void CommandLine::expectPositional(std::size_t count, const char* names) const
{
    if (mPositional.size() < count)
        throw UsageError(std::string("missing arguments: expected ") + names);
    if (mPositional.size() > count)
        throw UsageError("unexpected argument '" + mPositional[count] + "': expected only " +
                         names);
}

std::int64_t CommandLine::integer(const std::string& option, std::int64_t low, std::int64_t high,
                                  std::int64_t fallback) const
{
    if (!has(option))
        return fallback;
    return integerArgument(values(option).front(), "option '" + option + "'", low, high);
}

std::int64_t integerArgument(const std::string& text, const std::string& what, std::int64_t low,
                             std::int64_t high)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value < low || value > high)
        throw UsageError(what + " must be a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return value;
}
