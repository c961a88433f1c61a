// vantor-cd: the command-line host of the CD plug-in.
#include "App.h"

int main(int argc, char** argv)
{
    return vantorcd::runApp(argc, argv);
}
