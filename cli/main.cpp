#include "cli/cli.h"

#include <iostream>

int main(int argc, char** argv) {
    return permora::cli::Run(argc, argv, std::cin, std::cout, std::cerr);
}
