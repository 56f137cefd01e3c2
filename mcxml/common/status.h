// MCStatus: the outcome of every library operation, a code and a warning flag.
#ifndef MCXML_COMMON_STATUS_H
#define MCXML_COMMON_STATUS_H

namespace MCCommon_1_3 {

/// A status value: code 0 is success. Codes 120 and 123 are made with the flag
/// true; a status is OK only when its code is 0, whatever the flag.
class [[nodiscard]] MCStatus {
 public:
  /// The OK status.
  constexpr MCStatus() noexcept = default;
  constexpr MCStatus(long code, bool warning) noexcept : m_code(code), m_warning(warning) {}

  constexpr long GetCode() const noexcept { return m_code; }
  constexpr bool IsWarning() const noexcept { return m_warning; }
  /// True only for code 0.
  constexpr bool IsOK() const noexcept { return m_code == 0; }

  friend constexpr bool operator==(const MCStatus& a, const MCStatus& b) noexcept {
    return a.m_code == b.m_code && a.m_warning == b.m_warning;
  }
  friend constexpr bool operator!=(const MCStatus& a, const MCStatus& b) noexcept {
    return !(a == b);
  }

 private:
  long m_code = 0;
  bool m_warning = false;
};

}  // namespace MCCommon_1_3

#endif  // MCXML_COMMON_STATUS_H
