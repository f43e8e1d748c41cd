// Resources of the Advanced Color Settings dialog of the Colour page: its two templates, the
// picture it shows before and after the adjustment, the four ink swatches and its controls. The
// sliders are made at run time over their placeholders, which they replace under the same id.
#pragma once

// Templates.
#define IDD_DLG_ADV_COLORSETTING 120
#define IDD_DLG_ADV_COLORSETTING_RTL 376

// The sample picture (160 by 120, true colour) and the ink swatches.
#define IDB_ADV_COLOR_SAMPLE 372
#define IDB_ADV_COLOR_YELLOW 406
#define IDB_ADV_COLOR_BLACK 408
#define IDB_ADV_COLOR_MAGENTA 412
#define IDB_ADV_COLOR_CYAN 414

// Rows: label, number box, slider placeholder, end labels (minimum, middle, maximum), swatch.
#define IDC_GB_ADV_COLORSETTING 1300
#define IDC_STA_BRIGHTNESS 1301
#define IDC_EDIT_BRIGHTNESS 1302
#define IDC_SLIDER_BRIGHTNESS 1303
#define IDC_STA_DARKER 1304
#define IDC_STA_ZERO 1305
#define IDC_STA_LIGHTER 1306
#define IDC_STA_SATURATION 1311
#define IDC_EDIT_SATURATION 1312
#define IDC_SLIDER_SATURATION 1313
#define IDC_STA_MUTED 1314
#define IDC_STA_ZERO1 1315
#define IDC_STA_VIBRANT 1316
#define IDC_STA_COLORTONE 1321
#define IDC_EDIT_COLORTONE 1322
#define IDC_SLIDER_COLORTONE 1323
#define IDC_STA_COOLER 1324
#define IDC_STA_ZERO2 1325
#define IDC_STA_WARMER 1326
#define IDC_STA_CYAN 1331
#define IDC_EDIT_CYAN 1332
#define IDC_SLIDER_CYAN 1333
#define IDC_STA_CYAN_MIN 1334
#define IDC_STA_ZERO3 1335
#define IDC_STA_CYAN_MAX 1336
#define IDC_CYAN_BMP 1337
#define IDC_STA_MAGENTA 1341
#define IDC_EDIT_MAGENTA 1342
#define IDC_SLIDER_MAGENTA 1343
#define IDC_STA_MAGENTA_MIN 1344
#define IDC_STA_ZERO4 1345
#define IDC_STA_MAGENTA_MAX 1346
#define IDC_MAGENTA_BMP 1347
#define IDC_STA_YELLOW 1351
#define IDC_EDIT_YELLOW 1352
#define IDC_SLIDER_YELLOW 1353
#define IDC_STA_YELLOW_MIN 1354
#define IDC_STA_ZERO5 1355
#define IDC_STA_YELLOW_MAX 1356
#define IDC_YELLOW_BMP 1357
#define IDC_STA_BLACK 1361
#define IDC_EDIT_BLACK 1362
#define IDC_SLIDER_BLACK 1363
#define IDC_STA_BLACK_MIN 1364
#define IDC_STA_ZERO6 1365
#define IDC_STA_BLACK_MAX 1366
#define IDC_BLACK_BMP 1367
// The pictures.
#define IDC_GB_PREVIEW 1370
#define IDC_STA_BEFOREIMAGE 1371
#define IDC_PREVIEW_BEFORE 1372
#define IDC_STA_AFTERIMAGE 1373
#define IDC_PREVIEW 1374
