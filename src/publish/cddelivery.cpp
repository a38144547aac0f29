#include "cddelivery.h"

namespace glimmerix
{

namespace
{
CdDeliveryFactory &installedFactory()
{
    static CdDeliveryFactory factory;
    return factory;
}
} // namespace

CdDeliveryFactory setCdDeliveryFactory(CdDeliveryFactory factory)
{
    return std::exchange(installedFactory(), std::move(factory));
}

std::unique_ptr<CdDelivery> makeCdDelivery()
{
    const CdDeliveryFactory &factory = installedFactory();
    return factory ? factory() : nullptr;
}

} // namespace glimmerix
