// The command line of the generated-file benchmarks, native and under Wine: --articles N, --rounds N,
// --folder DIR (the file is generated there; the temporary folder by default), and --NAME N for each
// further number a benchmark declares with its default.
#pragma once
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

struct BenchOptions {
    int articles;
    int rounds;
    std::string folder;
    std::map<std::string, int> numbers;

    // A declared number (its default unless the command line gave it); 0 for one never declared.
    int Number(const std::string& name) const
    {
        auto it = numbers.find(name);
        return it == numbers.end() ? 0 : it->second;
    }
};

inline BenchOptions ReadBenchOptions(int argc, char** argv, int articles, int rounds,
                                     std::map<std::string, int> numbers = {})
{
    std::error_code error;
    BenchOptions options{articles, rounds, std::filesystem::temp_directory_path(error).string(), std::move(numbers)};
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--articles")
            options.articles = std::atoi(argv[i + 1]);
        else if (arg == "--rounds")
            options.rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (arg == "--folder")
            options.folder = argv[i + 1];
        else if (arg.compare(0, 2, "--") == 0 && options.numbers.count(arg.substr(2)))
            options.numbers[arg.substr(2)] = std::atoi(argv[i + 1]);
    }
    return options;
}
