// Makes one deliberate fault of the kind named on the command line, so that the sanitizer
// build can show that it catches each kind and stops the program. Prints "survived" when
// the program was not stopped.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Where the leaked block's address is dropped.
void* volatile g_lost = nullptr;

int main(int argc, char* argv[])
{
    const char* kind = argc > 1 ? argv[1] : "";
    if (std::strcmp(kind, "heap") == 0) {
        // The index comes from the command line so that no compiler sees the overflow.
        char* volatile buffer = new char[4];
        buffer[argc + 2] = 1;
        delete[] buffer;
    } else if (std::strcmp(kind, "overflow") == 0) {
        volatile int value = INT_MAX - 1 + argc;
        value = value + 1;
    } else if (std::strcmp(kind, "leak") == 0) {
        g_lost = std::malloc(64);
        g_lost = nullptr;
    }
    std::puts("survived");
    return 0;
}
