#include <cstdio>

int main() {
    std::puts("kvcodes: nothing here yet");
    return 0;
}
