// What an operation gives: its value, or why its input cannot have one. Every operation on
// splines, knots and scenes that can refuse its input reports it this way.
#pragma once

#include <string>
#include <utility>

template <typename T> struct Outcome {
    T value;           // the result, when fault is empty
    std::string fault; // "" on success, else what is wrong with the input, in words

    bool ok() const { return fault.empty(); }
};

template <typename T> Outcome<T> Success(T value) {
    return Outcome<T>{std::move(value), std::string()};
}

template <typename T> Outcome<T> Refusal(std::string fault) {
    return Outcome<T>{T{}, std::move(fault)};
}
