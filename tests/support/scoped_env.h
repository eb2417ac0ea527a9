#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

namespace pln::test {

// Sets (or, with nullopt, removes) an environment variable for one test and
// restores it afterwards; TZ changes reach the C library's time zone at once.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str()))
            old_ = old;
        apply(value);
    }
    ~ScopedEnv() { apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
#ifdef _WIN32
        ::_putenv_s(name_.c_str(), value ? value->c_str() : "");
        ::_tzset();
#else
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
        ::tzset();
#endif
    }

    std::string name_;
    std::optional<std::string> old_;
};

} // namespace pln::test
