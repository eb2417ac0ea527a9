#include "demo_names.h"

#include <array>

namespace pln::demo {

namespace {

constexpr std::uint64_t kB = 1024;
constexpr std::uint64_t MB = 1024 * kB;
constexpr std::uint64_t GB = 1024 * MB;

constexpr DemoKind video{"Video", 90 * MB, 6 * GB, true};
constexpr DemoKind audio{"Audio", 2 * MB, 14 * MB, true};
constexpr DemoKind document{"Doc", 40 * kB, 8 * MB, false};
constexpr DemoKind program{"Pro", 1 * MB, 300 * MB, false};
constexpr DemoKind archive{"Arc", 200 * kB, 900 * MB, false};
constexpr DemoKind image{"Image", 30 * kB, 6 * MB, false};
constexpr DemoKind disc{"Iso", 600 * MB, 8 * GB, false};

constexpr std::string_view films[] = {"The Long Voyage Home",
                                      "Le Fabuleux Destin d'Amélie Poulain",
                                      "Das Boot",
                                      "Крёстный отец",
                                      "千と千尋の神隠し",
                                      "Ο Θίασος",
                                      "El laberinto del fauno",
                                      "Smultronstället",
                                      "Ladri di biciclette",
                                      "Sånger från andra våningen",
                                      "Człowiek z marmuru",
                                      "Brève rencontre",
                                      "Der Himmel über Berlin",
                                      "Солярис",
                                      "七人の侍",
                                      "Les Quatre Cents Coups",
                                      "Nosferatu",
                                      "La Dolce Vita"};
constexpr std::string_view qualities[] = {"DVDRip.XviD", "720p.HDTV.x264", "1080p.BluRay.x264",
                                          "VHSRip", "PAL.DVD"};
constexpr std::string_view videoExtensions[] = {"avi", "mkv", "mp4", "ogm"};

constexpr std::string_view artists[] = {"Édith Piaf",        "Björk",           "Кино",
                                        "坂本龍一",          "Caetano Veloso",  "Mötley Crüe",
                                        "Sigur Rós",         "Ennio Morricone", "Françoise Hardy",
                                        "Владимир Высоцкий", "美空ひばり",      "Μίκης Θεοδωράκης",
                                        "The Beatles",       "Miles Davis"};
constexpr std::string_view tracks[] = {"Non, je ne regrette rien",
                                       "Jóga",
                                       "Группа крови",
                                       "Merry Christmas Mr. Lawrence",
                                       "Sozinho",
                                       "Hoppípolla",
                                       "L'estate",
                                       "Tous les garçons et les filles",
                                       "Кони привередливые",
                                       "川の流れのように",
                                       "Über den Wolken",
                                       "Ζορμπάς",
                                       "So What",
                                       "Here Comes the Sun"};
constexpr std::string_view audioExtensions[] = {"mp3", "ogg", "flac"};

constexpr std::string_view documents[] = {"Manuel d'utilisation",
                                          "Руководство пользователя",
                                          "取扱説明書",
                                          "Introducción a la programación",
                                          "Grundlagen der Elektrotechnik",
                                          "Ελληνική γραμματική",
                                          "Linux Kernel Development",
                                          "Kochbuch für Anfänger",
                                          "Histoire de la Révolution française"};
constexpr std::string_view documentExtensions[] = {"pdf", "epub", "txt", "doc"};

constexpr std::string_view programs[] = {"OpenOffice.org", "GIMP",  "Blender", "VLC media player",
                                         "Audacity",       "7-Zip", "Pidgin",  "Inkscape"};
constexpr std::string_view places[] = {"Montréal", "Zürich",    "Санкт-Петербург",
                                       "京都",     "São Paulo", "Reykjavík",
                                       "Kraków",   "Αθήνα",     "Dublin"};
constexpr std::string_view discs[] = {"debian-12.5.0-amd64-DVD-1", "ubuntu-22.04.4-desktop-amd64",
                                      "Fedora-Workstation-Live-x86_64-39",
                                      "knoppix_v9.1DVD-2021-01-25-EN", "openSUSE-Leap-15.5-DVD"};

std::string number(DemoRandom& random, std::uint64_t low, std::uint64_t high) {
    return std::to_string(random.between(low, high));
}

DemoName videoName(DemoRandom& random) {
    std::string title(random.pick(films));
    std::string ext(random.pick(videoExtensions));
    std::string name = title + " (" + number(random, 1950, 2023) + ") " +
                       std::string(random.pick(qualities)) + "." + ext;
    return {&video, name, ext, {}, title};
}

DemoName audioName(DemoRandom& random) {
    std::string artist(random.pick(artists));
    std::string title(random.pick(tracks));
    std::string ext(random.pick(audioExtensions));
    return {&audio, artist + " - " + title + "." + ext, ext, artist, title};
}

DemoName plainName(DemoRandom& random) {
    switch (random.between(0, 4)) {
    case 0: {
        std::string ext(random.pick(documentExtensions));
        return {&document, std::string(random.pick(documents)) + "." + ext, ext, {}, {}};
    }
    case 1:
        return {&program,
                std::string(random.pick(programs)) + " " + number(random, 1, 9) + "." +
                    number(random, 0, 20) + " Setup.exe",
                "exe",
                {},
                {}};
    case 2:
        return {&archive,
                std::string(random.pick(programs)) + " " + number(random, 1, 9) + "." +
                    number(random, 0, 20) + " sources.7z",
                "7z",
                {},
                {}};
    case 3:
        return {&image,
                "Photo " + std::string(random.pick(places)) + " " + number(random, 1, 999) + ".jpg",
                "jpg",
                {},
                {}};
    default:
        return {&disc, std::string(random.pick(discs)) + ".iso", "iso", {}, {}};
    }
}

} // namespace

DemoName makeDemoName(DemoRandom& random) {
    switch (random.between(0, 2)) {
    case 0:
        return videoName(random);
    case 1:
        return audioName(random);
    default:
        return plainName(random);
    }
}

} // namespace pln::demo
