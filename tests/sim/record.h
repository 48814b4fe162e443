#pragma once

// The record of every call that the program makes of the simulated system: its name, its
// arguments, its result and what it wrote through its out-arguments, as values that tests
// compare directly.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace sim {

// A value of a call: nothing (a null pointer, or no result), a number, or a text. Numbers and
// texts convert to it, so that a test writes {window, 16, 0, 0} or L"Velmora".
class Value {
  public:
    Value() = default;
    Value(std::monostate) {}
    template <typename Number>
    requires(std::is_integral_v<Number> && !std::is_same_v<Number, bool>) Value(Number number)
        : value_(static_cast<std::int64_t>(number)) {}
    Value(std::wstring text) : value_(std::move(text)) {}
    Value(const wchar_t* text) : value_(std::wstring(text)) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
    const std::int64_t* Number() const { return std::get_if<std::int64_t>(&value_); }
    const std::wstring* Text() const { return std::get_if<std::wstring>(&value_); }
    friend bool operator==(const Value&, const Value&) = default;

  private:
    std::variant<std::monostate, std::int64_t, std::wstring> value_;
};
inline constexpr std::monostate null{};
void PrintTo(const Value& value, std::ostream* out);

struct Call {
    std::wstring name;
    std::vector<Value> arguments;
    Value result{};                          // null for a call without one, and one that raised
    std::vector<Value> written{};            // what the call wrote through its out-arguments
    std::optional<std::uint32_t> failure{};  // the failure number a facility raised
    std::uint64_t at = 0;                    // virtual time when it returned; not compared

    friend bool operator==(const Call& a, const Call& b) {
        return a.name == b.name && a.arguments == b.arguments && a.result == b.result &&
               a.written == b.written && a.failure == b.failure;
    }
};

// How gtest shows a call in a failure message.
void PrintTo(const Call& call, std::ostream* out);
std::string Narrow(const std::wstring& text);

class CallLog {
  public:
    void Add(Call call) { calls_.push_back(std::move(call)); }
    const std::vector<Call>& All() const { return calls_; }
    // The names of the calls, in order.
    std::vector<std::wstring> Names() const;
    // The calls with this name, in order.
    std::vector<Call> Of(const std::wstring& name) const;
    // The text or number of argument `index` of every call with this name.
    std::vector<Value> Argument(const std::wstring& name, std::size_t index) const;
    void Clear() { calls_.clear(); }

  private:
    std::vector<Call> calls_;
};

}  // namespace sim
