// Leaks on purpose. The test suite expects LeakSanitizer to report it: a machine
// where leak detection is off (or suppresses too much) then fails instead of
// passing quietly.
#include <cstdio>
#include <cstdlib>

int main()
{
    static void* volatile kept = nullptr;
    kept = std::malloc(61);
    kept = nullptr;
    std::puts("leaked 61 bytes");
    return 0;
}
