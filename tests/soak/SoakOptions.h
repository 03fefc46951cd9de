#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

// The options both soaks take: --rounds N and --seed S (random when not given). Round r runs
// on its own generator seeded from S and r, so a failing round is repeated by its seed alone.
struct SoakOptions {
    int rounds = 0;
    std::uint64_t seed = 0;
    int onlyRound = -1;  // --round R: that round alone

    static SoakOptions parse(int argc, char** argv, int defaultRounds) {
        SoakOptions o;
        o.rounds = defaultRounds;
        o.seed = std::random_device{}();
        for (int i = 1; i < argc; ++i) {
            const bool hasValue = i + 1 < argc;
            if (!std::strcmp(argv[i], "--rounds") && hasValue) {
                o.rounds = std::atoi(argv[++i]);
            } else if (!std::strcmp(argv[i], "--seed") && hasValue) {
                o.seed = std::strtoull(argv[++i], nullptr, 10);
            } else if (!std::strcmp(argv[i], "--round") && hasValue) {
                o.onlyRound = std::atoi(argv[++i]);
            } else if (std::strncmp(argv[i], "-platform", 9) != 0) {
                std::fprintf(stderr, "usage: %s [--rounds N] [--seed S] [--round R]\n", argv[0]);
                std::exit(2);
            }
        }
        return o;
    }

    std::mt19937_64 generatorFor(int round) const {
        std::seed_seq seq{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                          static_cast<std::uint32_t>(round)};
        return std::mt19937_64(seq);
    }

    // "round 17 of seed 123 (again: --seed 123 --round 17)"
    std::string where(int round) const {
        return "round " + std::to_string(round) + " of seed " + std::to_string(seed) +
               " (again: --seed " + std::to_string(seed) + " --round " + std::to_string(round) +
               ")";
    }
};
