// How a function tells its caller that something failed: a Result holds either the value asked
// for or a Problem. Result<> (void) is success or a Problem. "No value" that is not a failure
// (nothing found, the user cancelled) stays a std::optional; a Result is for failures the user is
// told about.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace sulkan {

// Why something failed.
struct Problem {
    std::string message;  // CP932, for the user: what failed, naming the file where there is one
    std::string reason;   // CP932, the system's own reason alone; may be empty

    Problem() = default;
    explicit Problem(std::string message_, std::string reason_ = {})
        : message(std::move(message_)), reason(std::move(reason_)) {}

    bool operator==(const Problem&) const = default;
};

template <class T = void>
class Result {
public:
    Result(T value) : m_held(std::in_place_index<0>, std::move(value)) {}
    Result(Problem problem) : m_held(std::in_place_index<1>, std::move(problem)) {}

    bool ok() const { return m_held.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok() (otherwise std::bad_variant_access).
    T& value() & { return std::get<0>(m_held); }
    const T& value() const& { return std::get<0>(m_held); }
    T&& value() && { return std::get<0>(std::move(m_held)); }
    // The failure; an empty Problem when ok().
    const Problem& problem() const {
        static const Problem none;
        return ok() ? none : std::get<1>(m_held);
    }

private:
    std::variant<T, Problem> m_held;
};

template <>
class Result<void> {
public:
    Result() = default;  // success
    Result(Problem problem) : m_problem(std::move(problem)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }

    // The failure; an empty Problem when ok().
    const Problem& problem() const { return m_problem; }

private:
    Problem m_problem;
    bool m_failed = false;
};

}  // namespace sulkan
