#pragma once
// A small expected type: a value or an error that says what went wrong.
// Parsing runs on worker threads, so failures travel as values, never as
// global state.

#include <string>
#include <utility>
#include <variant>

struct Error {
  std::string what;
};

template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : m_v(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit by design
  Expected(Error error) : m_v(std::in_place_index<1>, std::move(error)) {}  // NOLINT

  [[nodiscard]] bool ok() const { return m_v.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(m_v); }
  const T& value() const& { return std::get<0>(m_v); }
  T&& value() && { return std::get<0>(std::move(m_v)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Error& error() const { return std::get<1>(m_v); }

 private:
  std::variant<T, Error> m_v;
};

inline Error Fail(std::string what) { return Error{std::move(what)}; }
