#include <iostream>

#include "cli/cli_app.hpp"

int main(int argc, char** argv) { return quilmor::cli::RunCli(argc, argv, std::cout, std::cerr); }
