#include "winamp-sim/Program.h"

int main(int argc, char** argv) {
    return winampsim::Run(argc, argv);
}
