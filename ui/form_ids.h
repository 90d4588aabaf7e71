// The catalogue forms by name: form k is element k of myforms, created in
// this order at start-up. Forms up to FORM_AO_VALUE have a fixed place on
// the screen (show_form); the others are placed by their screens.
#pragma once

enum FormId : unsigned {
    FORM_SEARCH_PORT = 0,      // "ポート", the search port
    FORM_ADD_IP = 1,           // "追加IP", a unit to add by address
    FORM_IP_ADDRESS = 2,       // "IP設定"
    FORM_IP_MASK = 3,          // "サブネット"
    FORM_IP_GATEWAY = 4,       // "ゲートウェイ"
    FORM_SMTP_IP = 5,          // "SMTP設定", mail server by address
    FORM_SMTP_HOST = 6,        // "SMTP設定", mail server by name
    FORM_SMTP_PORT = 7,        // "ポート", mail server port
    FORM_AUTH_USER = 8,        // "ユーザー名"
    FORM_AUTH_PASS = 9,        // "パスワード"
    FORM_MAIL_FROM = 10,       // "送信元"
    FORM_MAIL_TO1 = 11,        // "宛先1"
    FORM_MAIL_TO2 = 12,        // "宛先2"
    FORM_MAIL_SUBJECT = 13,    // "タイトル"
    FORM_THRESH_LOW = 14,      // "閾値[%]", Low
    FORM_THRESH_HIGH = 15,     // "閾値[%]", High
    FORM_SMTP_AUTH = 16,       // "SMTP-AUTH" ON / OFF
    FORM_LED_CONDITION = 17,   // "点灯条件" 範囲内 / 範囲外
    FORM_MAIL_MODE = 18,       // "メール送信" 無効 / 点灯時 / 消灯時
    FORM_OWN_PORT = 19,        // "自ポート" 1..65535
    FORM_WAIT = 20,            // "接続待ち" 有効 / 無効
    FORM_REQUEST = 21,         // "接続要求" 有効 / 無効
    FORM_DEST_IP = 22,         // "接続先" as an address
    FORM_DEST_HOST = 23,       // "接続先" as free text
    FORM_DEST_PORT = 24,       // "接続先ポート"
    FORM_DISC_TIME = 25,       // "切断時間", the DiscTime list
    FORM_NOTICE = 26,          // "定期通知", 5 AutoPeriod texts
    FORM_NOTICE_A = 27,        // "定期通知", 14 AutoPeriodA texts
    FORM_CHATTER = 28,         // "チャタリング" 4..20
    FORM_CHATTER_0 = 29,       // "チャタリング" 0..20
    FORM_SAMPLING = 30,        // "サンプリング", AdcSamp
    FORM_ADC_RANGE = 31,       // "ADCレンジ", AdcRange
    FORM_AO_KIND = 32,         // "AO 種別" 電圧[v] / 電流[mA]
    FORM_AO_VALUE = 33,        // "初期値" -20..20
    FORM_ADC_RANGE_V2 = 34,    // "ADCレンジ", AdcRangeV2
    FORM_TC_TYPE = 35,         // "熱電対タイプ", TCType
    FORM_TC_CJC = 36,          // "冷接点補償" 有効 / 無効
    FORM_TC_BURNOUT = 37,      // "断線検知" 有効 / 無効
    FORM_TC_BURNOUT_OUT = 38,  // "断線時数値" 最大値 / 最小値
    FORM_TF_MODE = 39,         // "出力タイプ", TFMode
    FORM_TF_LOW = 40,          // "下限 °C"
    FORM_TF_HIGH = 41,         // "上限 °C"
    FORM_DO_ALERT = 42,        // "DOアラート" 開始 / 停止
    FORM_DO_INPUT = 43,        // "監視対象AI" AI1 / AI2 / AI3
    FORM_DO_THRESHOLD = 44,    // thresholds of input ranges 0..6: 44, 45, 46, 47, 48 (4 and 5), 49
    FORM_DO_WIDTH = 50,        // widths of input ranges 0..6: 50, 51, 52, 53, 54 (4 and 5), 55
    FORM_DO_DIRECTION = 56,    // "方向" ON優先 / OFF優先
    FORM_COUNT = 57,
};

// The threshold (is_width 0) or width (1) form of an analog input range
// 0..6 on the DO alert window; FORM_COUNT for a range without one.
inline unsigned do_alert_form(int range, int is_width)
{
    static const unsigned offset[7] = {0, 1, 2, 3, 4, 4, 5};
    if (range < 0 || range > 6) return FORM_COUNT;
    return (is_width ? FORM_DO_WIDTH : FORM_DO_THRESHOLD) + offset[range];
}
