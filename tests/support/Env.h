#pragma once
// Knobs a test run sets in its environment, such as how many seeded games a test plays: the
// sanitized pass plays fewer of the same games.
#include <cstdlib>

inline int EnvInt(const char* name, int otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : otherwise;
}
