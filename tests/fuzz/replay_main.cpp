// Runs a fuzz target's entry point once on every file of the folders given on the command line:
// the seed corpus and the inputs that once failed stay checked in every build, also with g++ (whose
// Shift_JIS texts the clang fuzzing build does not have). A missing or empty folder is a failure,
// so that a lost corpus cannot pass as a clean run.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    bytes->clear();
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes->insert(bytes->end(), buffer, buffer + n);
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    // A target may silence the C streams of the program it drives; the report keeps its own.
    FILE* log = fdopen(dup(2), "w");
    if (!log) {
        return 1;
    }
    setvbuf(log, nullptr, _IOLBF, 0);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        DIR* folder = opendir(argv[i]);
        if (!folder) {
            std::fprintf(log, "replay: cannot open the folder %s\n", argv[i]);
            return 1;
        }
        std::vector<std::string> names;
        while (dirent* entry = readdir(folder)) {
            if (entry->d_name[0] != '.') {
                names.push_back(entry->d_name);
            }
        }
        closedir(folder);
        if (names.empty()) {
            std::fprintf(log, "replay: no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const std::string& name : names) {
            std::vector<uint8_t> bytes;
            const std::string path = std::string(argv[i]) + "/" + name;
            if (!ReadWholeFile(path, &bytes)) {
                std::fprintf(log, "replay: cannot read %s\n", path.c_str());
                return 1;
            }
            std::fprintf(log, "replay: %s (%zu bytes)\n", path.c_str(), bytes.size());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++inputs;
        }
    }
    std::fprintf(log, "replay: %d inputs, no failure\n", inputs);
    return 0;
}
