#include "core/lab/files/scenario_link.h"

#include "core/text/user_text.h"

#include <array>
#include <cstdint>
#include <optional>

namespace bocavo::labo {
namespace {

inline constexpr char kAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
inline constexpr char kLengthEnd = '.'; // between the length and the text

inline constexpr char kDamaged[] = "Ce lien de scénario est abîmé : il a peut-être été coupé "
                                   "ou modifié en route. Copiez-le de nouveau, en entier.";

// The scenario's text as a link carries it: its comments and blank lines left
// out, the consigne kept as it is.
std::string packedText(const Scenario& scenario) {
    const std::string text = scenarioText(scenario);
    std::string packed;
    bool inConsigne = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string_view line(text.data() + at, end - at);
        at = end + 1; // scenarioText ends every line
        inConsigne = inConsigne || line == kConsigneHeader;
        if (inConsigne || (!line.empty() && line.front() != '#'))
            packed.append(line).push_back('\n');
    }
    return packed;
}

std::string toBase64Url(std::string_view bytes) {
    std::string out;
    std::uint32_t bits = 0;
    int held = 0; // bits waiting in `bits`
    for (const char c : bytes) {
        bits = bits << 8 | static_cast<unsigned char>(c);
        for (held += 8; held >= 6; held -= 6)
            out += kAlphabet[bits >> (held - 6) & 0x3F];
    }
    if (held > 0)
        out += kAlphabet[bits << (6 - held) & 0x3F];
    return out;
}

// The bytes, or nothing for a character outside the alphabet or a length no
// encoding gives.
std::optional<std::string> fromBase64Url(std::string_view text) {
    if (text.size() % 4 == 1)
        return std::nullopt;
    std::array<int, 256> value{};
    value.fill(-1);
    for (int i = 0; i < 64; ++i)
        value[static_cast<unsigned char>(kAlphabet[i])] = i;
    std::string out;
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : text) {
        const int v = value[static_cast<unsigned char>(c)];
        if (v < 0)
            return std::nullopt;
        bits = bits << 6 | static_cast<std::uint32_t>(v);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out += static_cast<char>(bits >> held & 0xFF);
        }
    }
    return out;
}

} // namespace

Result<std::string> scenarioLink(const Scenario& scenario) {
    const std::string text = packedText(scenario);
    std::string link = std::string(kScenarioLinkKey) + "=" + std::to_string(text.size()) +
                       kLengthEnd + toBase64Url(text);
    if (link.size() > kMaxLinkChars)
        return Refusal{"Ce scénario est trop long pour un lien : raccourcissez la consigne, ou "
                       "donnez le fichier du scénario."};
    return link;
}

Result<Scenario> scenarioFromLink(std::string_view fragment) {
    if (!fragment.empty() && fragment.front() == '#')
        fragment.remove_prefix(1);
    const std::string prefix = std::string(kScenarioLinkKey) + "=";
    if (fragment.substr(0, prefix.size()) != prefix)
        return Refusal{"Ce lien n'ouvre pas de scénario : il devrait finir par « #" + prefix +
                       "… »."};
    // Looked at before anything is decoded: a pasted page is refused unread.
    if (fragment.size() > kMaxLinkChars)
        return Refusal{"Ce lien de scénario est trop long pour en être un : " +
                       std::to_string(fragment.size()) + " caractères, pour " +
                       std::to_string(kMaxLinkChars) + " au plus."};
    fragment.remove_prefix(prefix.size());
    const std::size_t end = fragment.find(kLengthEnd);
    const auto length =
        end == std::string_view::npos ? std::nullopt : wholeNumber(fragment.substr(0, end));
    const auto text = length ? fromBase64Url(fragment.substr(end + 1)) : std::nullopt;
    if (!text || text->size() != *length)
        return Refusal{kDamaged};
    Result<Scenario> scenario = parseScenario(*text);
    if (!scenario)
        return Refusal{std::string(kDamaged) + "\n" + scenario.reason()};
    return scenario;
}

} // namespace bocavo::labo
