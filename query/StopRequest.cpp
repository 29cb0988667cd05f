// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/StopRequest.h"

void StopRequest::raise()
{
    m_raised = true;
    emit raised();
}

bool StopRequest::isRaised() const
{
    return m_raised;
}
