// make_man_page PROGRAM NAME SUMMARY OUTPUT.1: writes the manual page of PROGRAM from what
// `PROGRAM --help` and `PROGRAM --version` print, at build time, so that the page and the help
// can never tell different stories.
//
// The help texts share one shape, which this reads: "usage:" lines (continued by lines indented
// to line up with them), paragraphs of unindented lines, a label line ending in ':', options
// as "  NAME   meaning" with later lines of the meaning indented further, and example lines
// indented by two spaces after an "examples:" label.

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string outputOf(const std::string& command)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string text;
    std::array<char, 4096> buffer{};
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;) text.append(buffer.data(), got);
    return text;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Text as roff shows it literally: backslashes escaped, dashes as the minus sign that options
// need (a hyphen would not paste back into a shell), and no line taken for a request.
std::string roff(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
    return out;
}

std::size_t indentOf(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

// "trovelin-cli harvest" of "trovelin-cli harvest [--json] PATH...": the command's own words.
std::string commandWords(const std::string& synopsis)
{
    static const std::regex words("^[a-z][a-z0-9-]*( [a-z][a-z0-9-]*)*");
    std::smatch match;
    return std::regex_search(synopsis, match, words) ? match.str() : synopsis;
}

struct ManPage {
    std::vector<std::string> synopsis;
    std::string body;
};

ManPage convert(const std::vector<std::string>& help)
{
    static const std::regex option("^  (\\S(?:\\S| \\S)*)  +(\\S.*)$");
    ManPage page;
    std::ostringstream body;
    bool inExamples = false;
    std::size_t meaningColumn = 0;  // of the option last written, for its further lines
    for (std::size_t i = 0; i < help.size(); ++i) {
        const std::string& line = help[i];
        std::smatch match;
        if (line.empty()) {
            inExamples = false;
            meaningColumn = 0;
        } else if (line.starts_with("usage: ")) {
            const std::string synopsis = line.substr(7);
            // A help that starts with its usage is one command; later usages are subcommands.
            if (i > 0) body << ".SS " << roff(commandWords(synopsis)) << '\n';
            page.synopsis.push_back(synopsis);
            while (i + 1 < help.size() && indentOf(help[i + 1]) == 7) page.synopsis.push_back(help[++i].substr(7));
        } else if (indentOf(line) == 0 && line.back() == ':') {
            inExamples = line == "examples:";
            body << ".PP\n.B " << roff(line) << '\n';
        } else if (indentOf(line) == 0) {
            if (i == 0 || help[i - 1].empty() || indentOf(help[i - 1]) > 0) body << ".PP\n";
            body << roff(line) << '\n';
        } else if (inExamples) {
            body << ".nf\n.RS\n" << roff(line.substr(2)) << "\n.RE\n.fi\n";
        } else if (meaningColumn > 0 && indentOf(line) >= meaningColumn) {
            body << ".br\n" << roff(line.substr(indentOf(line))) << '\n';
        } else if (std::regex_match(line, match, option)) {
            meaningColumn = static_cast<std::size_t>(match.position(2));
            body << ".TP\n.B " << roff(match.str(1)) << '\n' << roff(match.str(2)) << '\n';
        } else if (i + 1 < help.size() && indentOf(help[i + 1]) > indentOf(line) + 2) {
            // An option too long for its column has its meaning on the next line.
            meaningColumn = indentOf(help[i + 1]);
            body << ".TP\n.B " << roff(line.substr(indentOf(line))) << '\n' << roff(help[++i].substr(meaningColumn)) << '\n';
        } else {
            body << ".PP\n" << roff(line.substr(indentOf(line))) << '\n';
        }
    }
    page.body = body.str();
    return page;
}

std::string upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: make_man_page PROGRAM NAME SUMMARY OUTPUT.1\n";
        return 2;
    }
    const std::string program = argv[1], name = argv[2], summary = argv[3], output = argv[4];
    const std::string help = outputOf("'" + program + "' --help");
    std::string version = outputOf("'" + program + "' --version");
    if (help.empty() || version.empty()) {
        std::cerr << "make_man_page: " << program << " printed no help or no version\n";
        return 1;
    }
    version = version.substr(version.rfind(' ') + 1);
    if (version.ends_with('\n')) version.pop_back();

    const ManPage page = convert(linesOf(help));
    std::ofstream out(output, std::ios::binary);
    out << ".TH " << upper(name) << " 1 \"\" \"Trovelin " << version << "\" \"User Commands\"\n"
        << ".SH NAME\n" << roff(name) << " \\- " << roff(summary) << '\n'
        << ".SH SYNOPSIS\n.nf\n";
    for (const std::string& synopsis : page.synopsis) out << roff(synopsis) << '\n';
    out << ".fi\n.SH DESCRIPTION\n" << page.body;
    out.close();
    if (!out) {
        std::cerr << "make_man_page: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
