// velmor: the desktop training simulator.
#include "ui/shell/ProgramStart.h"

int main(int argc, char* argv[])
{
    return velmor::RunProgram(argc, argv);
}
