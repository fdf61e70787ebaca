#include "app/command_line.hpp"

#include "app/option_table.hpp"
#include "app/texts.hpp"

#include <optional>
#include <string>
#include <vector>

namespace app {
namespace {

// One option as the command line wrote it.
struct Named {
    const OptionRow* row;                     // null when there is no such option
    std::string written;                      // "--seed", "-h"
    std::optional<std::string_view> attached; // a value in the same argument
};

const OptionRow* long_option(std::string_view name) {
    for (const OptionRow& row : option_table())
        if (row.long_name == name)
            return &row;
    return nullptr;
}

const OptionRow* short_option(char name) {
    for (const OptionRow& row : option_table())
        if (row.short_name != 0 && row.short_name == name)
            return &row;
    return nullptr;
}

// The options one argument names: one long option, or a bundle of short
// ones whose last may hold its value ("-s5").
std::vector<Named> named_in(std::string_view arg) {
    if (arg.starts_with("--")) {
        const std::size_t equals = arg.find('=');
        Named named{long_option(arg.substr(2, equals - 2)), std::string(arg.substr(0, equals)),
                    std::nullopt};
        if (equals != std::string_view::npos)
            named.attached = arg.substr(equals + 1);
        return {named};
    }
    std::vector<Named> bundle;
    for (std::size_t at = 1; at < arg.size(); ++at) {
        Named named{short_option(arg[at]), std::string(1, '-') + arg[at], std::nullopt};
        const bool takes_value = named.row != nullptr && !named.row->value_name.empty();
        if (takes_value && at + 1 < arg.size())
            named.attached = arg.substr(at + 1);
        bundle.push_back(named);
        if (named.row == nullptr || takes_value)
            break;
    }
    return bundle;
}

// Appended piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict) on a
// literal added to a temporary string.
std::string naming(std::string_view what, std::string_view text, std::string_view after = {}) {
    std::string line(what);
    line += " '";
    line += text;
    line += '\'';
    line += after;
    return line;
}

} // namespace

Parsed parse_command_line(std::span<const std::string_view> args) {
    Options options;
    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (options_ended || arg.size() < 2 || arg[0] != '-')
            return usage_error(naming("unexpected argument", arg));
        if (arg == "--") {
            options_ended = true;
            continue;
        }
        for (const Named& named : named_in(arg)) {
            if (named.row == nullptr)
                return usage_error(naming("unknown option", named.written));
            std::string_view value;
            if (named.row->value_name.empty()) {
                if (named.attached)
                    return usage_error(naming("option", named.written, " takes no value"));
            } else if (named.attached) {
                value = *named.attached;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return usage_error(naming("option", named.written, " needs a value"));
            }
            if (std::optional<Stop> stop = named.row->apply(options, value))
                return *std::move(stop);
        }
    }
    const int recordings = int(options.record.has_value()) + int(options.replay.has_value()) +
                           int(options.verify.has_value());
    if (recordings > 1)
        return usage_error("options '--record', '--replay' and '--verify' go one at a time");
    if (options.export_file && (options.record || options.replay || options.verify))
        return usage_error("option '--export' goes without '--record', '--replay' or '--verify'");
    if (options.submit && recordings > 0)
        return usage_error("option '--submit' goes with none of '--record', '--replay' and "
                           "'--verify'");
    if (options.speed != 1 && !options.replay)
        return usage_error("option '--speed' goes with '--replay'");
    if (options.ranked &&
        (options.seed || options.replay || options.verify || options.export_file || options.submit))
        return usage_error("option '--ranked' goes with none of '--seed', '--replay', "
                           "'--verify', '--export' and '--submit'");
    if (options.server && !options.submit && !options.ranked)
        return usage_error("option '--server' goes with '--submit' or '--ranked'");
    return options;
}

} // namespace app
