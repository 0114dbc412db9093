// tarvex-sim: computer-only games from the command line, without windows.
#include <iostream>
#include <string>
#include <vector>

#include "sim/simulation.h"

int main(int argc, char** argv) {
    return tarvex::sim::Main(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
