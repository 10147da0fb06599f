// Developer tool: prints the enciphered form of each argument, for the
// program's fixed texts that are kept in the source only enciphered.
#include "platform/system/cipher.h"

#include <cstdio>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", sys::encipher(QString::fromUtf8(argv[i])).c_str());
    return 0;
}
