// Seeds for the LIS harnesses (see LisSeeds.h).
#include "LisSeeds.h"

int main(int argc, char** argv) { return lisseeds::Main(argc, argv); }
