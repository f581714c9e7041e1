#include "cli/SimCli.h"

int main(int argc, char** argv)
{
    return velmor::SimMain(argc, argv);
}
