// Leaks on purpose. The test suite expects LeakSanitizer to report it: a machine
// where leak detection is off (or suppresses too much) then fails instead of
// passing quietly.
#include <cstdio>
#include <cstdlib>

int main()
{
    void* volatile block = std::malloc(61);
    std::printf("leaked 61 bytes at %p\n", block);
    block = nullptr; // the only pointer is gone
    return 0;
}
