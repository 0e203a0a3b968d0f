// SPDX-License-Identifier: MIT
#include "SampleTexts.h"

#include "CodePage.h"

#include <QStringDecoder>

QStringList designTimeSampleText()
{
    return {
        QStringLiteral("He was a mongoose, rather like a little "),
        QStringLiteral("cat in his fur and his tail, but much "),
        QStringLiteral("more like a weasel in his head and ways. "),
        QStringLiteral("His eyes and the tip of his busy nose "),
        QStringLiteral("were pink, he could scratch himself "),
        QStringLiteral("wherever he liked with any of his legs, "),
        QStringLiteral("and he could puff his tail up until it "),
        QStringLiteral("looked like a brush for bottles. The "),
        QStringLiteral("cry he gave, each time that he "),
        QStringLiteral("scuttled through the long grass, was: "),
        QStringLiteral("\"Rikk-tikk-tikki-tikki-tchk!\""),
        QString(),
        QStringLiteral("Rikki-Tikki-Tavi"),
        QStringLiteral("from \"The Jungle Book\""),
        QStringLiteral("by Rudyard Kipling"),
    };
}

QString multilingualSampleText()
{
    const QStringList lines = {
        QStringLiteral("France:"),
        QStringLiteral("A noir, E blanc, I rouge, U vert, O bleu: voyelles,"),
        QStringLiteral("Je dirai vos couleurs sur la page du soir,"),
        QStringLiteral("Chaque lettre un vitrail, chaque signe un miroir"),
        QStringLiteral("Ou dansent doucement des formes immortelles."),
        QString(),
        QStringLiteral("Le noir garde la nuit au creux des ritournelles,"),
        QStringLiteral("Le blanc porte la neige et le premier espoir,"),
        QStringLiteral("Le rouge bat au coeur de qui voudra savoir"),
        QStringLiteral("Pourquoi la plume tremble au bord des etincelles."),
        QString(),
        QStringLiteral("Le vert est une mer qui berce les roseaux,"),
        QStringLiteral("Un pre calme ou le vent compte les animaux,"),
        QStringLiteral("Une ride de paix sur le front du poete;"),
        QString(),
        QStringLiteral("Le bleu, clairon lointain, appelle au bout du jour,"),
        QStringLiteral("Et la page se tait, et la lettre s'arrete:"),
        QStringLiteral("O, cercle sans fin, oeil ouvert de l'amour."),
        QString(),
        QString(),
        QStringLiteral("English:"),
        QStringLiteral("A black, E white, I red, U green, O blue: you vowels,"),
        QStringLiteral("I'll tell your colours on the evening page,"),
        QStringLiteral("Each letter a window, every sign a glass"),
        QStringLiteral("Where shapes that never die are softly dancing."),
        QString(),
        QStringLiteral("The black keeps night inside the hollow refrains,"),
        QStringLiteral("The white brings down the snow and the first hope,"),
        QStringLiteral("The red beats in the heart of one who asks"),
        QStringLiteral("Why every pen will tremble near a spark."),
        QString(),
        QStringLiteral("The green is a sea that rocks the reeds to sleep,"),
        QStringLiteral("A quiet field where wind counts up the herds,"),
        QStringLiteral("A line of peace across the poet's brow;"),
        QString(),
        QStringLiteral("The blue, a distant bugle, calls at close of day,"),
        QStringLiteral("And then the page falls still, the letter stops:"),
        QStringLiteral("O, endless ring, the open eye of love."),
        QString(),
        QString(),
        QStringLiteral("Russian:"),
        QStringLiteral("А чёрный, Е белый, И красный, У зелёный, О синий: гласные,"),
        QStringLiteral("Я расскажу о ваших красках на вечерней странице,"),
        QStringLiteral("Где каждая буква окно, а каждый знак зеркало,"),
        QStringLiteral("И тихо танцуют в них бессмертные формы."),
        QString(),
        QStringLiteral("Чёрный хранит ночь в глубине напевов,"),
        QStringLiteral("Белый несёт снег и первую надежду,"),
        QStringLiteral("Красный бьётся в сердце того, кто хочет знать,"),
        QStringLiteral("Отчего перо дрожит у края искры."),
        QString(),
        QStringLiteral("Зелёный это море, что качает тростник,"),
        QStringLiteral("Тихое поле, где ветер считает стада,"),
        QStringLiteral("Морщинка покоя на лбу поэта;"),
        QString(),
        QStringLiteral("Синий, далёкий горн, зовёт на закате,"),
        QStringLiteral("И страница молчит, и буква замирает:"),
        QStringLiteral("О, круг без конца, открытый глаз любви."),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QStringList linesOfTextFile(const QByteArray &content)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(content);
    if (utf8.hasError())
        text = CodePage::decode("CP1252", content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end ends the last line; it does not start another.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
