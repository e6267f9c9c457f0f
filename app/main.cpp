#include "app/Startup.h"

int main(int argc, char** argv) {
    return tarvelo::RunTarvelo(argc, argv);
}
