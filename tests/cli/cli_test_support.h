// Running a CLI command inside a test with its output captured.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "cli/commands.h"

struct CommandOutput {
    int status;
    std::string out;
    std::string err;
};

inline CliArguments Arguments(std::initializer_list<const char*> words, int32_t bias) {
    CliArguments args = {};
    for (const char* word : words) {
        args.arguments[args.argumentCount++] = word;
    }
    args.bias = bias;
    return args;
}

inline CliArguments ArgumentsAt(const char* at, int32_t bias) {
    CliArguments args = Arguments({}, bias);
    args.options[args.optionCount++] = {"--at", at};
    return args;
}

// Runs a command with stdout and stderr captured and the calendar caches dropped afterwards, so
// no test sees another's custom holidays; carriage returns are dropped so that the text compares
// alike on every system.
inline CommandOutput Capture(int (*run)(const CliArguments&), const CliArguments& args) {
    PrepareStandardStreams();
    SetTimeZoneBiasOverride(args.bias);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = run(args);
    std::fflush(stdout);
    std::fflush(stderr);
    CommandOutput result = {status, testing::internal::GetCapturedStdout(),
                            testing::internal::GetCapturedStderr()};
    ClearTimeZoneBiasOverride();
    SetCustomHolidayPath("");
    InvalidateHolidayCache();
    InvalidateMonthModel();
    result.out.erase(std::remove(result.out.begin(), result.out.end(), '\r'), result.out.end());
    return result;
}
