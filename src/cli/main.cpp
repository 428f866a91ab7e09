// trovelin-cli: the panel-file tools without a screen.

#include <iostream>
#include <string>

#include "cli/Dump.h"

namespace {

int usage()
{
    std::cerr << "usage: trovelin-cli dump FILE.kvr\n"
                 "  dump   print the header and every record of a panel file\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) return usage();
    std::string command = argv[1];
    if (command == "dump") return trovelin::cli::dumpPanelFile(argv[2], std::cout, std::cerr);
    return usage();
}
