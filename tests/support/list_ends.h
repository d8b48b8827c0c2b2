#pragma once
// The first or the last element of a list that the run under test fills: the
// boxes it showed, the log's lines, the titles, the sounds, the draws. A failing
// run may leave such a list empty, and front() or back() of an empty list reads
// past it: the whole test binary ends in a segmentation fault that names no test.
// These throw instead, which fails the one test with the place it read the list.
// A message that shows a list on failure prints it whole (testing::PrintToString).

#include <source_location>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace QuillmereTest {

template <typename List>
void RequireAnElement(const List& list, const char* which, const std::source_location& where) {
    if (list.empty())
        throw std::out_of_range(std::string(where.file_name()) + ":" + std::to_string(where.line()) + ": the " +
                                which + " element of an empty list");
}

template <typename List>
auto& First(List& list, const std::source_location& where = std::source_location::current()) {
    RequireAnElement(list, "first", where);
    return list.front();
}

template <typename List>
auto& Last(List& list, const std::source_location& where = std::source_location::current()) {
    RequireAnElement(list, "last", where);
    return list.back();
}

// Of a list handed back by value: a copy of the element, which outlives the list.
template <typename List>
    requires(!std::is_lvalue_reference_v<List>)
auto First(List&& list, const std::source_location& where = std::source_location::current()) {
    RequireAnElement(list, "first", where);
    return list.front();
}

template <typename List>
    requires(!std::is_lvalue_reference_v<List>)
auto Last(List&& list, const std::source_location& where = std::source_location::current()) {
    RequireAnElement(list, "last", where);
    return list.back();
}

}  // namespace QuillmereTest
