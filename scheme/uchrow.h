#pragma once
// Positions of the fields of a line-section row (attrUchLin order).

enum UchField {
    uchNpes, uchNres, uchNlin, uchName, uchName1, uchNyzln, uchNyzlk, uchTipEl, uchKodEl,
    uchDl, uchNotv, uchPnagr, uchQnagr, uchWpnagr, uchWqnagr, uchKbal, uchPodkt, uchKey,
    uchFieldCount
};
