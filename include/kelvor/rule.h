/// @file
/// The two crossing rules of the bulk queries (see <kelvor/prepared.h>).
/// A header of its own so that every part of the library can name a rule.
#ifndef KELVOR_RULE_H
#define KELVOR_RULE_H

/// Kelvor's additions to the exported interface.
namespace kelvor {

/// How crossings are computed; see the top of <kelvor/prepared.h>.
enum class Rule {
  Compatible,  ///< Wrapping 32-bit products: the exported functions' answers.
  Exact        ///< Every crossing without overflow.
};

}  // namespace kelvor

#endif  // KELVOR_RULE_H
