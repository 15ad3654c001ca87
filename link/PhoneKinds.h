#pragma once
// Names for what the connection knows about the phone: the phone book memory the user works
// with and the kind of phone found when connecting.

namespace phone {

// A phone book memory: the phone's own ("ME") or the SIM's ("SM").
enum class Memory { Phone, Sim };

// What the identification at connecting found: a Nokia (its phone book pages differ), any other
// maker, or a phone that did not answer "ATI".
enum class Kind { Ordinary, Nokia, NoAnswer };

}  // namespace phone
