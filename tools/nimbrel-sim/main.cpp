#include <iostream>

int main() {
    std::cout << "nimbrel-sim\n";
    return 0;
}
