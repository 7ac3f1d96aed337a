// The card brands the card-entry helpers know, in table order.
#include <algorithm>
#include <span>

#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

constexpr int kGapsInFours[] = {4, 8, 12};
constexpr int kGapsFourSixFive[] = {4, 10};

constexpr CardBrandPrefix kVisaPrefixes[] = {{4, 4}};
constexpr int kVisaLengths[] = {16, 18, 19};
constexpr CardBrandPrefix kMastercardPrefixes[] = {{51, 55}, {2221, 2229}, {223, 229},
                                                   {23, 26}, {270, 271},   {2720, 2720}};
constexpr int kMastercardLengths[] = {16};
constexpr CardBrandPrefix kAmericanExpressPrefixes[] = {{34, 34}, {37, 37}};
constexpr int kAmericanExpressLengths[] = {15};
constexpr CardBrandPrefix kDinersClubPrefixes[] = {{300, 305}, {36, 36}, {38, 38}, {39, 39}};
constexpr int kDinersClubLengths[] = {14, 16, 19};
constexpr CardBrandPrefix kDiscoverPrefixes[] = {{6011, 6011}, {644, 649}, {65, 65}};
constexpr int kDiscoverLengths[] = {16, 19};
constexpr CardBrandPrefix kTroyPrefixes[] = {
    {9792, 9792},         {650052, 650052},     {650082, 650083},     {650092, 650092},
    {650161, 650161},     {650170, 650170},     {650173, 650173},     {650175, 650175},
    {650268, 650268},     {650271, 650271},     {650273, 650274},     {650456, 650457},
    {650836, 650836},     {650846, 650850},     {650923, 650923},     {650987, 650987},
    {650990, 650990},     {654997, 654997},     {657366, 657366},     {657998, 657998},
    {658758, 658758},     {658767, 658768},     {65083700, 65083704}, {65085800, 65085804},
    {65085900, 65085901}, {65086000, 65086000}, {65086100, 65086105}, {65086200, 65086203},
    {65875000, 65875003}, {65875009, 65875009}, {65875101, 65875104}, {65875200, 65875200},
    {65875501, 65875501}, {65875601, 65875601}, {65875900, 65875900}, {65876000, 65876002},
    {65876100, 65876103}, {65876110, 65876110}, {65876115, 65876116}, {65876200, 65876201},
    {65876500, 65876500}, {65876504, 65876505}, {65876600, 65876602}, {65877100, 65877101},
    {65877600, 65877602}, {65877700, 65877700}, {65877801, 65877802}, {65878200, 65878202},
    {65878300, 65878311}, {65878400, 65878405}, {65878500, 65878505}, {65878600, 65878601},
    {65879800, 65879800}, {65880800, 65880800}, {65880900, 65880900}};
constexpr int kTroyLengths[] = {16};
constexpr CardBrandPrefix kJcbPrefixes[] = {{2131, 2131}, {1800, 1800}, {3528, 3589}};
constexpr int kJcbLengths[] = {16, 17, 18, 19};
constexpr CardBrandPrefix kUnionpayPrefixes[] = {
    {620, 620},       {62100, 62182},   {62184, 62187},   {62185, 62197},   {62200, 62205},
    {622010, 622999}, {622018, 622018}, {62207, 62209},   {623, 626},       {6270, 6270},
    {6272, 6272},     {6276, 6276},     {627700, 627779}, {627781, 627799}, {6282, 6289},
    {6291, 6291},     {6292, 6292},     {810, 810},       {8110, 8131},     {8132, 8151},
    {8152, 8163},     {8164, 8171}};
constexpr int kUnionpayLengths[] = {14, 15, 16, 17, 18, 19};
constexpr CardBrandPrefix kNaranjaPrefixes[] = {
    {589562, 589562}, {402918, 402918}, {527572, 527572}};
constexpr int kNaranjaLengths[] = {16};
constexpr CardBrandPrefix kVervePrefixes[] = {
    {506099, 506127}, {506129, 506129}, {506133, 506150}, {506158, 506163}, {506166, 506166},
    {506168, 506168}, {506170, 506170}, {506173, 506173}, {506176, 506180}, {506184, 506184},
    {506187, 506188}, {506191, 506191}, {506195, 506195}, {506197, 506197}, {507865, 507865},
    {507866, 507866}, {507868, 507877}, {507880, 507888}, {507900, 507900}, {507941, 507941}};
constexpr int kVerveLengths[] = {16, 18, 19};
constexpr CardBrandPrefix kMaestroPrefixes[] = {
    {493698, 493698}, {500000, 504174}, {504176, 506698}, {506779, 508999},
    {56, 59},         {63, 63},         {67, 67},         {6, 6}};
constexpr int kMaestroLengths[] = {12, 13, 14, 15, 16, 17, 18, 19};
constexpr CardBrandPrefix kEloPrefixes[] = {
    {401178, 401178}, {401179, 401179}, {438935, 438935}, {457631, 457631}, {457632, 457632},
    {431274, 431274}, {451416, 451416}, {457393, 457393}, {504175, 504175}, {506699, 506778},
    {509000, 509999}, {627780, 627780}, {636297, 636297}, {636368, 636368}, {650031, 650033},
    {650035, 650051}, {650405, 650439}, {650485, 650538}, {650541, 650598}, {650700, 650718},
    {650720, 650727}, {650901, 650978}, {651652, 651679}, {655000, 655019}, {655021, 655058}};
constexpr int kEloLengths[] = {16};
constexpr CardBrandPrefix kMirPrefixes[] = {{2200, 2204}};
constexpr int kMirLengths[] = {16, 17, 18, 19};
constexpr CardBrandPrefix kHiperPrefixes[] = {
    {637095, 637095}, {63737423, 63737423}, {63743358, 63743358}, {637568, 637568},
    {637599, 637599}, {637609, 637609},     {637612, 637612}};
constexpr int kHiperLengths[] = {16};
constexpr CardBrandPrefix kHipercardPrefixes[] = {{606282, 606282}};
constexpr int kHipercardLengths[] = {16};

constexpr CardBrand kBrands[] = {
    {"visa", "Visa", kVisaPrefixes, kGapsInFours, kVisaLengths, {"CVV", 3}, true},
    {"mastercard",
     "Mastercard",
     kMastercardPrefixes,
     kGapsInFours,
     kMastercardLengths,
     {"CVC", 3},
     true},
    {"american-express",
     "American Express",
     kAmericanExpressPrefixes,
     kGapsFourSixFive,
     kAmericanExpressLengths,
     {"CID", 4},
     true},
    {"diners-club",
     "Diners Club",
     kDinersClubPrefixes,
     kGapsFourSixFive,
     kDinersClubLengths,
     {"CVV", 3},
     true},
    {"discover", "Discover", kDiscoverPrefixes, kGapsInFours, kDiscoverLengths, {"CID", 3}, true},
    {"troy", "Troy", kTroyPrefixes, kGapsInFours, kTroyLengths, {"CVV", 3}, true},
    {"jcb", "JCB", kJcbPrefixes, kGapsInFours, kJcbLengths, {"CVV", 3}, true},
    {"unionpay", "UnionPay", kUnionpayPrefixes, kGapsInFours, kUnionpayLengths, {"CVN", 3}, false},
    {"naranja", "Naranja", kNaranjaPrefixes, kGapsInFours, kNaranjaLengths, {"CVV", 3}, true},
    {"verve", "Verve", kVervePrefixes, kGapsInFours, kVerveLengths, {"CVV", 3}, true},
    {"maestro", "Maestro", kMaestroPrefixes, kGapsInFours, kMaestroLengths, {"CVC", 3}, true},
    {"elo", "Elo", kEloPrefixes, kGapsInFours, kEloLengths, {"CVE", 3}, true},
    {"mir", "Mir", kMirPrefixes, kGapsInFours, kMirLengths, {"CVP2", 3}, true},
    {"hiper", "Hiper", kHiperPrefixes, kGapsInFours, kHiperLengths, {"CVC", 3}, true},
    {"hipercard",
     "Hipercard",
     kHipercardPrefixes,
     kGapsInFours,
     kHipercardLengths,
     {"CVC", 3},
     true},
};

}  // namespace

std::span<const CardBrand> cardBrands() noexcept { return kBrands; }

std::optional<CardBrand> findCardBrand(std::string_view type) noexcept {
  const auto* found = std::find_if(std::begin(kBrands), std::end(kBrands),
                                   [&](const CardBrand& brand) { return brand.type == type; });
  if (found == std::end(kBrands)) return std::nullopt;
  return *found;
}

}  // namespace sdkcore
