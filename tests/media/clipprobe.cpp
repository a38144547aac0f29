#include "clipprobe.h"

#include "wavetestsupport.h"

#include "support/testenvironment.h"

Probe probe(const QString &path)
{
    Probe out;
    const QString text = runTool(QStringLiteral("ffprobe"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-count_frames"),
            QStringLiteral("-select_streams"), QStringLiteral("v:0"),
            QStringLiteral("-show_entries"),
            QStringLiteral("stream=width,height,r_frame_rate,nb_read_frames"),
            QStringLiteral("-of"), QStringLiteral("default=noprint_wrappers=1"), path });
    for (const QString &line : text.split(u'\n')) {
        const QString key = line.section(u'=', 0, 0);
        const QString value = line.section(u'=', 1);
        if (key == QStringLiteral("width"))
            out.width = value.toInt();
        else if (key == QStringLiteral("height"))
            out.height = value.toInt();
        else if (key == QStringLiteral("r_frame_rate"))
            out.rate = value;
        else if (key == QStringLiteral("nb_read_frames"))
            out.frames = value.toInt();
    }
    return out;
}

SoundTrack soundTrack(const QString &path)
{
    SoundTrack out;
    const QStringList format = runTool(QStringLiteral("ffprobe"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
            QStringLiteral("a:0"), QStringLiteral("-show_entries"),
            QStringLiteral("stream=codec_name,sample_rate,channels"), QStringLiteral("-of"),
            QStringLiteral("csv=p=0"), path })
                                   .split(u',');
    if (format.size() == 3) {
        out.codec = format[0];
        out.rate = format[1].toInt();
        out.channels = format[2].toInt();
    }
    const QString raw = path + QStringLiteral(".raw");
    runTool(QStringLiteral("ffmpeg"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-i"),
            path, QStringLiteral("-map"), QStringLiteral("0:a:0"), QStringLiteral("-c"),
            QStringLiteral("copy"), QStringLiteral("-f"), QStringLiteral("data"), raw });
    out.data = fileBytes(raw);
    const QStringList packets = runTool(QStringLiteral("ffprobe"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
            QStringLiteral("packet=codec_type"), QStringLiteral("-of"), QStringLiteral("csv=p=0"),
            path })
                                    .split(u'\n');
    for (const QString &type : packets)
        out.packetIsSound.append(type == QStringLiteral("audio"));
    return out;
}

int longestVideoRun(const QList<bool> &packetIsSound)
{
    int longest = 0;
    int run = 0;
    for (bool sound : packetIsSound) {
        run = sound ? 0 : run + 1;
        longest = qMax(longest, run);
    }
    return longest;
}
