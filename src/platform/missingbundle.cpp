#include "strings.h"

namespace glimmerix
{

// The program's own small table: the one message it must be able to show before the language
// bundle is loaded, in the languages the program was sold in.

namespace
{

struct LocalizedMessage {
    const char *language;
    int id;
    const char *text;
};

const LocalizedMessage kMessages[] = {
    { "Dutch", 310,
        "Het bestand \"%s\" is niet gevonden. Controleer de installatie of installeer Glimmerix "
        "opnieuw." },
    { "French", 311,
        "Impossible de trouver le fichier \"%s\". V\u00e9rifiez l'installation ou r\u00e9installez "
        "Glimmerix." },
    { "German", 312,
        "Die Datei \"%s\" wurde nicht gefunden. Bitte pr\u00fcfen Sie die Installation oder "
        "installieren Sie Glimmerix neu." },
    { "Italian", 313,
        "Impossibile trovare il file \"%s\". Controllare l'installazione o reinstallare "
        "Glimmerix." },
    { "Spanish", 314,
        "No se encuentra el archivo \"%s\". Compruebe la instalaci\u00f3n o vuelva a instalar "
        "Glimmerix." },
    { "Korean", 315,
        "\"%s\" \ud30c\uc77c\uc744 \ucc3e\uc744 \uc218 \uc5c6\uc2b5\ub2c8\ub2e4. "
        "\uc124\uce58\ub97c "
        "\ud655\uc778\ud558\uac70\ub098 Glimmerix\ub97c \ub2e4\uc2dc \uc124\uce58\ud558\uc2ed\uc2dc"
        "\uc624." },
    { "Japanese", 317,
        "\u30d5\u30a1\u30a4\u30eb \"%s\" \u304c\u898b\u3064\u304b\u308a\u307e\u305b\u3093\u3002"
        "\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u3092\u78ba\u8a8d\u3059\u308b\u304b\u3001Glimmerix "
        "\u3092\u518d\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u3057\u3066\u304f\u3060\u3055\u3044"
        "\u3002" },
    { "Swedish", 356,
        "Det g\u00e5r inte att hitta filen \"%s\". Kontrollera installationen eller installera om "
        "Glimmerix." },
    { "Chinese", 357,
        "\u627e\u4e0d\u5230\u6a94\u6848 "
        "\"%s\"\uff0c\u8acb\u6aa2\u67e5\u5b89\u88dd\u6216\u91cd\u65b0"
        "\u5b89\u88dd Glimmerix\u3002" },
};

const LocalizedMessage kDefaultMessage = { "English", 316,
    "Unable to find the file \"%s\", please check your installation or reinstall Glimmerix." };

} // namespace

MissingBundleMessage missingBundleMessage(const QString &languageName, const QString &fileName)
{
    const LocalizedMessage *chosen = &kDefaultMessage;
    for (const LocalizedMessage &message : kMessages) {
        if (languageName == QLatin1String(message.language))
            chosen = &message;
    }
    return { chosen->id, formatPrintf(QString::fromUtf8(chosen->text), { fileName }) };
}

} // namespace glimmerix
