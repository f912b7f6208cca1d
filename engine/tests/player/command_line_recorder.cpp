// A fake FrameSnatch.exe: writes the command line it was started with into its target file (the
// second argument), so that a test can read exactly what the player handed over.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3)
        return 1;
    FILE* out = std::fopen(argv[2], "wb");
    if (!out)
        return 2;
    const char* line = GetCommandLineA();
    std::fwrite(line, 1, std::strlen(line), out);
    return std::fclose(out) == 0 ? 0 : 3;
}
