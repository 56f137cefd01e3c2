// MCStatus: the outcome of every library operation, a code and a warning flag.
#ifndef MCXML_COMMON_STATUS_H
#define MCXML_COMMON_STATUS_H

namespace MCCommon_1_3 {

/// A status value: code 0 is success. Codes 120 and 123 are made with the flag
/// true; a status is OK only when its code is 0, whatever the flag. The codes, their
/// meanings and the operations that give them are listed on the @ref status_codes
/// page.
class [[nodiscard]] MCStatus {
 public:
  /// The OK status.
  constexpr MCStatus() noexcept = default;
  /// A status with `code` and the warning flag `warning`; the library makes every
  /// code with the flag false except 120 and 123.
  constexpr MCStatus(long code, bool warning) noexcept : m_code(code), m_warning(warning) {}

  /// The code: 0 for success, else one of 103 to 123.
  constexpr long GetCode() const noexcept { return m_code; }
  /// The warning flag the status was made with.
  constexpr bool IsWarning() const noexcept { return m_warning; }
  /// True only for code 0; a warning (120, 123) is not OK.
  constexpr bool IsOK() const noexcept { return m_code == 0; }

  /// True when code and flag are both equal.
  friend constexpr bool operator==(const MCStatus& a, const MCStatus& b) noexcept {
    return a.m_code == b.m_code && a.m_warning == b.m_warning;
  }
  /// True when code or flag differ.
  friend constexpr bool operator!=(const MCStatus& a, const MCStatus& b) noexcept {
    return !(a == b);
  }

 private:
  long m_code = 0;
  bool m_warning = false;
};

}  // namespace MCCommon_1_3

#endif  // MCXML_COMMON_STATUS_H
