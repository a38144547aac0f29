#pragma once

#include "autorunwriter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace glimmerix
{

// What a product wizard puts on a CD: its files, made in its working folder, in order.
struct CdProduct {
    QString projectName; // "WebAlbum", "SlideShow", "VideoPostCard"
    QString workingFolder; // ends with '/'
    AutoRunProduct autoRunProduct = AutoRunProduct::WebAlbum;
    bool autoRun = true; // write AutoRun.inf and put it at the top of the disc
    QString discFolder; // a checked name (acceptDiscFolderName); empty: everything at the top
    QStringList files; // handed over in this order, into the disc folder when there is one
    // A program copied into the working folder under `programName` after the files and handed
    // over last (the web album's viewer); empty when the product lists its program itself.
    QString programSource;
    QString programName;
};

// The CD side of a product wizard: the CD-writing application chosen when the wizard starts and
// one delivery. The CD output folder implements it; publishing only sees this interface.
class CdDelivery
{
public:
    virtual ~CdDelivery() = default;
    // Whether any CD application (or our own disc component) can take the product.
    virtual bool available() const = 0;
    // Whether the application takes a disc folder.
    virtual bool takesDiscFolder() const = 0;
    // Whether the application's window is open, so Finish must wait (message 59394).
    virtual bool applicationBusy() const = 0;
    // Free bytes on the disc, or -1 when the application does not say.
    virtual qint64 freeBytes() = 0;
    // Hands `product` over and starts the recording. False when it was not recorded (the user
    // has been told why, or declined).
    virtual bool deliver(const CdProduct &product) = 0;
    // Whether the application reads the working files after deliver() returns, so they stay.
    virtual bool keepsWorkingFiles() const = 0;
};

// How wizards get their CD side: the program installs a factory at start; without one (tests
// of other parts, tools) there is no CD.
using CdDeliveryFactory = std::function<std::unique_ptr<CdDelivery>()>;
CdDeliveryFactory setCdDeliveryFactory(CdDeliveryFactory factory);
std::unique_ptr<CdDelivery> makeCdDelivery();

} // namespace glimmerix
