#include "cli/CommandParser.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include <QCommandLineParser>

namespace trovelin::cli {

namespace {

// Arguments are bytes: Latin-1 maps each to one character and back, so a file name that is not
// UTF-8 comes out as it went in. Option names are ASCII either way.
QString fromBytes(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// "--out DIR" or "-q": the names and whether a value follows. Entries such as "NAME=VALUE"
// describe arguments, not options.
struct OptionName {
    std::string name;
    bool takesValue = false;
};

std::optional<OptionName> optionName(std::string_view text)
{
    if (!text.starts_with('-')) return std::nullopt;
    const std::size_t space = text.find(' ');
    const std::string_view name = text.substr(0, space);
    return OptionName{std::string(name.substr(name.find_first_not_of('-'))), space != std::string_view::npos};
}

std::string shownOption(const QString& name)
{
    return (name.size() == 1 ? "-" : "--") + toBytes(name);
}

}  // namespace

bool ParsedArguments::has(const std::string& option) const
{
    return values.contains(option) || std::find(flags.begin(), flags.end(), option) != flags.end();
}

const std::string* ParsedArguments::value(const std::string& option) const
{
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

ParsedArguments parseArguments(const CommandHelp& command, const std::vector<std::string>& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    std::vector<OptionName> options{{"h", false}, {"help", false}};
    for (const OptionHelp& help : command.options)
        if (const std::optional<OptionName> option = optionName(help.option)) options.push_back(*option);
    for (const OptionName& option : options) {
        QCommandLineOption qtOption(fromBytes(option.name));
        if (option.takesValue) qtOption.setValueName(QStringLiteral("value"));
        parser.addOption(qtOption);
    }
    QStringList list{QStringLiteral("trovelin-cli")};
    for (const std::string& argument : arguments) list << fromBytes(argument);

    ParsedArguments parsed;
    if (!parser.parse(list)) {
        const QStringList unknown = parser.unknownOptionNames();
        parsed.error = unknown.isEmpty() ? toBytes(parser.errorText())
                                         : "unknown option '" + shownOption(unknown.front()) + "'";
        // Qt's own texts start with a capital and end with a full stop; ours are lines of their own.
        if (!parsed.error.empty() && parsed.error.back() == '.') parsed.error.pop_back();
        if (!parsed.error.empty()) parsed.error[0] = static_cast<char>(std::tolower(parsed.error[0]));
        return parsed;
    }
    for (const OptionName& option : options) {
        const QString name = fromBytes(option.name);
        if (!parser.isSet(name)) continue;
        if (option.takesValue)
            parsed.values[option.name] = toBytes(parser.values(name).back());
        else
            parsed.flags.push_back(option.name);
    }
    for (const QString& argument : parser.positionalArguments()) parsed.positional.push_back(toBytes(argument));
    return parsed;
}

}  // namespace trovelin::cli
