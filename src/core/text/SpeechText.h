// SPDX-License-Identifier: MIT
// What a field sounds like when spoken, and which installed voice speaks a language.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The text a speech service is given for a field (8-bit or UTF-8 bytes, as stored), whole (an
// article before the sorting position is part of what a learner must say): round brackets
// dropped with their contents kept, each "/" read as a pause (", ") with empty sides dropped,
// blanks collapsed and trimmed.
// "(sich) waschen" -> "sich waschen", "er/sie" -> "er, sie".
std::string SpeechText(const std::string& text);

// The locale of a language identifier as ICU names it ("de_DE"); empty when ICU knows none.
std::string LanguageLocaleName(uint16_t langId);

// The voice for wanted among the locales of the installed voices ("de_DE", "de-AT", "en"): the
// first with the same language and territory, else the first with the same language (scripts
// are not compared). -1 when none speaks the language or wanted is empty.
int ChooseVoice(const std::string& wanted, const std::vector<std::string>& available);
