// Named answers for table-driven checks: a failure prints the case's name.
#ifndef KELVOR_TESTS_SUPPORT_ANSWERS_H
#define KELVOR_TESTS_SUPPORT_ANSWERS_H

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

struct Answer {
  const char* name;
  std::int64_t got;
  std::int64_t want;
};

// EXPECT_EQ(got, want) for every case, in order.
inline void ExpectAnswers(std::initializer_list<Answer> cases) {
  for (const Answer& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

#endif  // KELVOR_TESTS_SUPPORT_ANSWERS_H
