#include "bench/draft/Languages.h"

#include "bench/draft/Voices.h"
#include "voice/ModelPhones.h"

#include <espeak-ng/speak_lib.h>

#include <set>

namespace visemer::bench {
namespace {

std::set<std::string> unheard;
// espeak-ng's own speed; the English sets leave theirs behind.
constexpr int kWordsPerMinute = 175;

// Every sentence spoken with the phonemes named in IPA or by espeak-ng's
// own names; the rate, or 0 when espeak-ng did not start.
int speakAll(const LanguageSentences& language, bool ipa, std::vector<EspeakSpeech>& spoken) {
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                          espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT |
                              (ipa ? espeakINITIALIZE_PHONEME_IPA : 0));
    if (rate <= 0 || espeak_SetVoiceByName(language.code.c_str()) != EE_OK)
        return 0;
    espeak_SetParameter(espeakRATE, kWordsPerMinute, 0);
    for (const std::string& sentence : language.sentences)
        spoken.push_back(speakSentence(sentence));
    return rate;
}

// Each phoneme becomes the phones a draft aligns for it, sharing its
// time. In IPA a pause has no name, and neither have the synthesizer's
// own glides; espeak-ng's names tell them apart ("_" is a pause). A
// phoneme with no phone lengthens the one before it.
void addPhoneme(Line& line, const std::string& ipa, const std::string& own, double at) {
    if (!line.phones.empty())
        line.phones.back().endMs = at;
    if (own.empty() || own[0] == '_') {
        line.phones.push_back({at, at, "SIL"});
        return;
    }
    const std::vector<std::string> phones = modelPhonesOfPhoneme(ipa);
    if (phones.empty() && !ipa.empty() && ipa.find("ʔ") == std::string::npos)
        unheard.insert(ipa);
    for (const std::string& phone : phones)
        line.phones.push_back({at, at, phone});
}

// Phonemes that share one moment (a phoneme made two phones) split the
// time up to the next.
void spreadSharedMoments(std::vector<TimedPhone>& phones) {
    for (std::size_t i = 0; i < phones.size();) {
        std::size_t j = i + 1;
        while (j < phones.size() && phones[j].startMs == phones[i].startMs)
            ++j;
        const double from = phones[i].startMs, to = phones[j - 1].endMs;
        const double each = (to - from) / static_cast<double>(j - i);
        for (std::size_t k = i; k < j; ++k) {
            phones[k].startMs = from + each * static_cast<double>(k - i);
            phones[k].endMs = phones[k].startMs + each;
        }
        i = j;
    }
}

} // namespace

const std::vector<LanguageSentences>& languageSentences() {
    static const std::vector<LanguageSentences> languages{
        {"de",
         "German",
         {"Der Junge kaufte heute Brot beim Bäcker.", "Meine Mutter macht morgens immer Kaffee.",
          "Wir bleiben bis zum Abend im Park.", "Das Wetter ist schön, aber ziemlich kalt.",
          "Peter hat zweiundvierzig bunte Ballons.", "Bitte mach das Fenster wieder zu.",
          "Im Sommer fahren wir gern ans Meer.", "Der Hund spielt mit dem alten Ball.",
          "Morgen beginnt die Schule um acht Uhr.", "Ich habe das Buch noch nicht gelesen."}},
        {"es",
         "Spanish",
         {"El perro de mi vecino ladra por la mañana.", "Mañana vamos a la playa con mis padres.",
          "Me gusta mucho el pan con tomate.", "La biblioteca abre a las nueve en punto.",
          "Pablo compró tres botellas de agua.", "Bebemos café en el balcón cada tarde.",
          "Mi hermana vive en Barcelona desde mayo.", "El tren para en cada pueblo pequeño.",
          "No puedo encontrar mis llaves.", "Buenas noches, hasta mañana."}},
        {"fr",
         "French",
         {"Le petit garçon mange une pomme.", "Nous partons en vacances au mois de mai.",
          "Ma mère boit du café chaque matin.", "Il fait beau, mais le vent est froid.",
          "Le bateau part du port à midi.", "Pierre a perdu son parapluie bleu.",
          "Je voudrais un morceau de pain, s'il vous plaît.", "La boulangerie ouvre à sept heures.",
          "Mon frère habite à Bordeaux depuis un an.", "Bonne nuit, à demain."}},
        {"it",
         "Italian",
         {"Il bambino mangia una mela rossa.", "Domani andiamo al mare con i miei amici.",
          "Mia madre prepara la pasta ogni domenica.", "Il treno parte dal binario numero tre.",
          "Paolo beve un bicchiere di vino bianco.", "Per favore, chiudi la porta.",
          "Abbiamo mangiato una pizza buonissima.", "Il museo apre alle nove del mattino.",
          "Mio padre lavora in una piccola banca.", "Buona notte, a domani."}},
        {"pt",
         "Portuguese",
         {"O menino comeu um bolo de chocolate.", "Amanhã vamos à praia com os meus pais.",
          "A minha mãe bebe café todas as manhãs.", "O barco parte do porto ao meio-dia.",
          "Paulo comprou um presente bonito.", "Por favor, abra a janela.",
          "Moramos numa casa pequena perto do mar.", "O museu abre às nove da manhã.",
          "Bom dia, como vai você?", "Boa noite, até amanhã."}},
        {"nl",
         "Dutch",
         {"De jongen eet een appel in het park.", "Morgen gaan we met de boot naar Amsterdam.",
          "Mijn moeder drinkt elke ochtend koffie.", "Het weer is mooi, maar het waait hard.",
          "Pieter heeft twee blauwe ballonnen.", "Wil je het raam even open maken?",
          "De bakker begint om vijf uur te werken.", "We blijven tot het einde van de middag.",
          "Het boek ligt op de tafel bij het bed.", "Goedenavond, tot morgen."}},
        {"pl",
         "Polish",
         {"Mały chłopiec je czerwone jabłko.", "Jutro pojedziemy nad morze z rodzicami.",
          "Moja mama pije kawę każdego ranka.", "Pogoda jest piękna, ale wieje wiatr.",
          "Paweł kupił butelkę mleka.", "Proszę, zamknij drzwi.",
          "Mieszkamy w małym domu blisko parku.", "Pociąg odjeżdża o piątej po południu.",
          "Biblioteka jest otwarta do wieczora.", "Dobranoc, do jutra."}},
        {"ru",
         "Russian",
         {"Мальчик ест большое красное яблоко.", "Завтра мы поедем на море с папой.",
          "Моя мама пьёт кофе каждое утро.", "Погода хорошая, но ветер холодный.",
          "Павел купил бутылку молока.", "Пожалуйста, закройте окно.",
          "Мы живём в маленьком доме у парка.", "Поезд отправляется в пять часов.",
          "Библиотека открыта до вечера.", "Спокойной ночи, до завтра."}},
    };
    return languages;
}

bool speakLanguage(const LanguageSentences& language, std::vector<Line>& lines) {
    // The same sentences twice, the synthesizer started again in between:
    // once for the phonemes' names in IPA, once for its own.
    std::vector<EspeakSpeech> inIpa, inOwnNames;
    const int rate = speakAll(language, true, inIpa);
    if (rate <= 0 || speakAll(language, false, inOwnNames) <= 0)
        return false;
    for (std::size_t i = 0; i < language.sentences.size(); ++i) {
        if (inIpa[i].phonemes.size() != inOwnNames[i].phonemes.size())
            return false;
        Line line;
        line.text = language.sentences[i];
        line.rate = rate;
        line.samples = std::move(inIpa[i].samples);
        for (std::size_t j = 0; j < inIpa[i].phonemes.size(); ++j)
            addPhoneme(line, inIpa[i].phonemes[j].first, inOwnNames[i].phonemes[j].first,
                       inIpa[i].phonemes[j].second);
        if (!line.phones.empty())
            line.phones.back().endMs = line.lengthMs();
        spreadSharedMoments(line.phones);
        lines.push_back(std::move(line));
    }
    return true;
}

std::vector<std::string> unheardPhonemes() {
    return {unheard.begin(), unheard.end()};
}

} // namespace visemer::bench
