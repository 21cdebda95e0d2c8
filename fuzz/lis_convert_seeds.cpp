// Seeds for the conversion harness: those of the LIS harnesses (see LisSeeds.h).
#include "LisSeeds.h"

int main(int argc, char** argv) { return lisseeds::Main(argc, argv); }
