#include "bridge/Program.h"

int main(int argc, char** argv) {
    return bridge::Run(argc, argv);
}
