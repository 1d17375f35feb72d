// Fuzz target: nocturo-cli's command line, parsed and run by the program's own main() and command
// table. The input is a custom-holiday data file and the argument list: two bytes (little-endian)
// give the file's length, the file's bytes follow, then the words, separated by zero bytes. Every
// "--custom" value names that file. Output goes to /dev/null; the process runs in a private
// folder, and every "-o" value is replaced by a file there, so that no fuzzed path is written.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "tests/fuzz/fuzz_check.h"

// The program's main() under another name, with its real command table.
#define main NocturoCliMain
#include "cli/main.cpp"
#undef main

namespace {

constexpr size_t kMaxWords = 12;

std::string folderPath;

// The private folder goes when the process ends normally (a crash leaves it for the post-mortem).
void RemoveFolder() {
    for (const char* name : {"custom.dat", "out.ics", "out.ics.tmp"}) {
        unlink((folderPath + "/" + name).c_str());
    }
    rmdir(folderPath.c_str());
}

void PrepareProcess() {
    char folder[] = "/tmp/nocturo-fuzz-cli-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) {
        std::perror("private folder");
        std::abort();
    }
    folderPath = folder;
    std::atexit(RemoveFolder);
    // A --custom of /dev/stdin must not wait for input.
    const int empty = open("/dev/null", O_RDONLY);
    const int null = open("/dev/null", O_WRONLY);
    if (empty < 0 || dup2(empty, 0) < 0 || null < 0 || dup2(null, 1) < 0 ||
        !std::freopen("/dev/null", "w", stdout)) {
        std::perror("/dev/null");
        std::abort();
    }
    // The program's messages go to the C stream only: the sanitizers and libFuzzer write their
    // reports to descriptor 2 themselves, which stays open.
    stderr = std::fopen("/dev/null", "w");
    if (!stderr) {
        std::abort();
    }
}

// Whether a word is the option `name` (alone or as "name=VALUE").
bool IsOption(const std::string& word, const std::string& name) {
    return word == name || word.rfind(name + "=", 0) == 0;
}

// Gives the value of every `name` option the file `file` instead.
void RedirectOption(std::vector<std::string>* words, const std::string& name,
                    const std::string& file) {
    for (size_t i = 1; i < words->size(); ++i) {
        std::string& word = (*words)[i];
        if (word == name && i + 1 < words->size()) {
            (*words)[i + 1] = file;
        } else if (IsOption(word, name)) {
            word = name + "=" + file;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool prepared = false;
    if (!prepared) {
        PrepareProcess();
        prepared = true;
    }
    size_t fileSize = size >= 2 ? static_cast<size_t>(data[0] | data[1] << 8) : 0;
    const size_t start0 = size >= 2 ? 2 : size;
    fileSize = fileSize < size - start0 ? fileSize : size - start0;
    FILE* file = std::fopen("custom.dat", "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(fileSize == 0 || std::fwrite(data + start0, 1, fileSize, file) == fileSize);
    FUZZ_CHECK(std::fclose(file) == 0);

    std::vector<std::string> words = {"nocturo-cli"};
    size_t start = start0 + fileSize;
    for (size_t i = start; i <= size && words.size() <= kMaxWords; ++i) {
        if (i == size || data[i] == 0) {
            words.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
            start = i + 1;
        }
    }
    RedirectOption(&words, "-o", "out.ics");
    RedirectOption(&words, "--custom", "custom.dat");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(&word[0]);
    }
    argv.push_back(nullptr);

    const int status = NocturoCliMain(static_cast<int>(words.size()), argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    FUZZ_CHECK(status >= 0 && status <= 2);

    // Each run starts from the state of a fresh process.
    ClearTimeZoneBiasOverride();
    SetCustomHolidayPath("");
    InvalidateHolidayCache();
    InvalidateMonthModel();
    return 0;
}
