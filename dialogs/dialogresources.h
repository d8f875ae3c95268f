#pragma once
// Icons of the object dialogs live in a static library: their resources must
// be registered once before the first form is built.
void initDialogResources();
