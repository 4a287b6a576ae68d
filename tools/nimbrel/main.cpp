#include "X11Program.h"

int main(int argc, char** argv) {
    return nimbrel::x11::runProgram(argc, argv);
}
