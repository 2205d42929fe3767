#include "parameters/ParameterFileRecord.h"

using E = ParamEdit;

const ParameterFileRecord::TextField ParameterFileRecord::kLeadingTexts[20] = {
    {E::code_g1, 0, 4},    {E::code_g2, 5, 4},    {E::code_ic1, 15, 4},  {E::code_ic2, 20, 4},
    {E::code_sd1, 30, 4},  {E::code_sd2, 35, 4},  {E::msg0, 45, 16},     {E::msg1, 62, 16},
    {E::msg4, 79, 16},     {E::msg5, 96, 16},     {E::msg2, 130, 32},    {E::msg3, 163, 32},
    {E::Phs_run, 295, 2},  {E::Phs_but, 298, 2},  {E::Phs_rt, 301, 2},   {E::Phs_sl, 304, 2},
    {E::Phs_ml, 307, 2},   {E::Phs_lt, 310, 2},   {E::Phs_ls, 313, 2},   {E::Phs_na, 316, 2},
};

const ParameterFileRecord::FlagField ParameterFileRecord::kFlags[8] = {
    {ParamCheck::opt930, 322},     {ParamCheck::opt931, 323}, {ParamCheck::opt932, 324}, {ParamCheck::opt933, 325},
    {ParamCheck::opt934, 326},     {ParamCheck::GlobalCode, 327}, {ParamCheck::opt936, 328},
    {ParamCheck::opt937, 329},
};

const ParameterFileRecord::TextField ParameterFileRecord::kSpeedDials[8] = {
    {E::spd1, 331, 16}, {E::spd2, 348, 16}, {E::spd3, 365, 16}, {E::spd4, 382, 16},
    {E::spd5, 399, 16}, {E::spd6, 416, 16}, {E::spd7, 433, 16}, {E::spd8, 450, 16},
};

ParameterFileRecord::ParameterFileRecord()
    : bytes_(kSize, '\0')
{
}

bool ParameterFileRecord::setBytes(const QByteArray &image)
{
    if (image.size() != kSize)
        return false;
    bytes_ = image;
    return true;
}

QByteArray ParameterFileRecord::text(int offset, int capacity) const
{
    const int length = qMin(int(quint8(bytes_.at(offset))), capacity);
    return bytes_.mid(offset + 1, length);
}

void ParameterFileRecord::setText(int offset, int capacity, const QByteArray &text)
{
    const QByteArray stored = text.left(capacity);
    bytes_[offset] = char(stored.size());
    bytes_.replace(offset + 1, stored.size(), stored);
}

bool ParameterFileRecord::flag(int offset) const
{
    return bytes_.at(offset) != '\0';
}

void ParameterFileRecord::setFlag(int offset, bool on)
{
    bytes_[offset] = on ? '\1' : '\0';
}
