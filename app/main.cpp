// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/Application.h"
#include "app/Form1.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    Form1 form;
    form.show();
    return app.run(form);
}
