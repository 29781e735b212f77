// velbrant-sim: the headless driver.
#include <cstdio>

int main()
{
    std::fprintf(stderr, "velbrant-sim: not built yet\n");
    return 1;
}
