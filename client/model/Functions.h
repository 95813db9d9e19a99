#pragma once

#include "client/service/DateFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelpa {

// Small stateless helpers shared across the client.
class Functions {
public:
    // The installation's device identifier: 32 upper-case hexadecimal characters, made once
    // from a random UUID and kept in the preferences store.
    static std::string getUUID();
    // True when start <= date <= end.
    static bool date(Date date, Date isBetweenDate, Date andDate);
    // SHA-256 of the text's bytes up to the first zero byte, as 64 lower-case hex digits.
    static std::string getHashedStringFromString(std::string_view text);
    // True when every character is a decimal digit of any script; an empty text is numeric.
    static bool isNumeric(std::string_view text);
    // "+49" in place of the first character unless the text starts with "+49", then every
    // horizontal whitespace character removed.
    static std::string getFormattedPhoneNumberFromPhoneNumber(std::string_view phoneNumber);
    static std::string getArrayAsCommaSeperatedList(const std::vector<std::string>& values);
    // The date and time as shown to the user, in local time.
    static std::string getStringFromDate(Date date);

    static constexpr const char* kDeviceIDKey = "kDeviceID";
};

}  // namespace kelpa
