<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Arena</name>
    <message>
        <source>移動障害物個数</source>
        <translation>Moving obstacles</translation>
    </message>
    <message>
        <source>乱数個</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>指定</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>摩擦（機体のみ）を考慮する。</source>
        <translation>Friction (vehicles only)</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>1-11の範囲に設定して下さい。</source>
        <translation>Please enter a number from 1 to 11.</translation>
    </message>
    <message>
        <source>機体設定</source>
        <translation>Vehicle</translation>
    </message>
    <message>
        <source>砲弾設定</source>
        <translation>Shells</translation>
    </message>
    <message>
        <source>装甲の厚さ</source>
        <translation>Armour</translation>
    </message>
    <message>
        <source>エンジン出力</source>
        <translation>Engine</translation>
    </message>
    <message>
        <source>燃料最大積載量</source>
        <translation>Fuel tank</translation>
    </message>
    <message>
        <source>砲弾最大積載量</source>
        <translation>Shells carried</translation>
    </message>
    <message>
        <source>砲弾質量</source>
        <translation>Shell mass</translation>
    </message>
    <message>
        <source>砲弾発射力</source>
        <translation>Firing force</translation>
    </message>
    <message>
        <source>総重量</source>
        <translation>Total weight</translation>
    </message>
    <message>
        <source>(個)</source>
        <translation>(pcs)</translation>
    </message>
    <message>
        <source>砲弾残量</source>
        <translation>Shells left</translation>
    </message>
    <message>
        <source>燃料残量</source>
        <translation>Fuel left</translation>
    </message>
    <message>
        <source>装甲損壊率</source>
        <translation>Armour damage</translation>
    </message>
    <message>
        <source>機体総重量</source>
        <translation>Total weight</translation>
    </message>
    <message>
        <source>｜加速度｜</source>
        <translation>|Acceleration|</translation>
    </message>
    <message>
        <source>Ｘ成分</source>
        <translation>X</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Vel.</translation>
    </message>
    <message>
        <source>速度 </source>
        <translation>Vel.</translation>
    </message>
    <message>
        <source>Ｙ成分</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>速さ</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>静止摩擦係数</source>
        <translation>Static friction</translation>
    </message>
    <message>
        <source>動摩擦係数</source>
        <translation>Kinetic friction</translation>
    </message>
    <message>
        <source>初期化中</source>
        <translation>Getting ready</translation>
    </message>
    <message>
        <source>勝者</source>
        <translation>Winner</translation>
    </message>
    <message>
        <source>敗者</source>
        <translation>Loser</translation>
    </message>
    <message>
        <source>引分</source>
        <translation>Draw</translation>
    </message>
    <message>
        <source>再び対戦するか（Ｙ/Ｎ）？</source>
        <translation>Play again? (Y/N)</translation>
    </message>
</context>
<context>
    <name>Online</name>
    <message>
        <source>通信対戦</source>
        <translation>Online match</translation>
    </message>
    <message>
        <source>セッションコードを入力して下さい。</source>
        <translation>Please enter the session code.</translation>
    </message>
    <message>
        <source>%1回目の時刻を巻き戻して再現すると状態が変わりました。</source>
        <translation>Tick %1 came out differently when it was rolled back and played again.</translation>
    </message>
    <message>
        <source>同期テスト</source>
        <translation>Sync test</translation>
    </message>
    <message>
        <source>ホストが開始します。</source>
        <translation>The host starts the match.</translation>
    </message>
</context>
<context>
    <name>zelkar::qt::CpuSeats</name>
    <message>
        <source>コンピュータと対戦する</source>
        <translation>Play against the computer</translation>
    </message>
    <message>
        <source>強さ 1（初級）</source>
        <translation>Level 1 (easy)</translation>
    </message>
    <message>
        <source>強さ 2（中級）</source>
        <translation>Level 2 (medium)</translation>
    </message>
    <message>
        <source>強さ 3（上級）</source>
        <translation>Level 3 (hard)</translation>
    </message>
</context>
<context>
    <name>zelkar::qt::NetPlay</name>
    <message>
        <source>%1&#x3000;相手を待っています（コード：%2）&#x3000;ポート %3</source>
        <translation>%1 - waiting for the other player (code: %2), port %3</translation>
    </message>
    <message>
        <source>%1&#x3000;接続しています…</source>
        <translation>%1 - connecting…</translation>
    </message>
    <message>
        <source>%1&#x3000;通信対戦</source>
        <translation>%1 - online match</translation>
    </message>
    <message>
        <source>（コード：%1）</source>
        <translation> (code: %1)</translation>
    </message>
    <message>
        <source>&#x3000;相手の返事を待っています</source>
        <translation> - waiting for the other player&apos;s answer</translation>
    </message>
    <message>
        <source>%1&#x3000;通信対戦終了</source>
        <translation>%1 - online match over</translation>
    </message>
    <message>
        <source>相手が対戦を終了しました。</source>
        <translation>The other player has ended the match.</translation>
    </message>
    <message>
        <source>%1回目の時刻で相手と状態がずれました。対戦を終了します。</source>
        <translation>The two games no longer agreed at tick %1. The match ends.</translation>
    </message>
    <message>
        <source>通信が切れました。</source>
        <translation>The connection was lost.</translation>
    </message>
    <message>
        <source>セッションコードが違います。</source>
        <translation>The session code is wrong.</translation>
    </message>
    <message>
        <source>相手の版が違います（相手 %1、こちら %2）。</source>
        <translation>The other player has another version (theirs %1, ours %2).</translation>
    </message>
    <message>
        <source>相手と同じ側を選んでいます。</source>
        <translation>You chose the same side as the other player.</translation>
    </message>
    <message>
        <source>通信対戦</source>
        <translation>Online match</translation>
    </message>
    <message>
        <source>&#x3000;断った接続 %1</source>
        <translation>  Callers refused: %1</translation>
    </message>
    <message>
        <source>相手が見つかりませんでした。</source>
        <translation>The other player could not be found.</translation>
    </message>
    <message>
        <source>コードの誤りが多すぎます。1分後にやり直して下さい。</source>
        <translation>Too many wrong codes. Try again in a minute.</translation>
    </message>
</context>
<context>
    <name>zelkar::qt::PadInput</name>
    <message>
        <source>左のプレイヤーにパッドがつながりました</source>
        <translation>Left player&apos;s controller connected</translation>
    </message>
    <message>
        <source>右のプレイヤーにパッドがつながりました</source>
        <translation>Right player&apos;s controller connected</translation>
    </message>
    <message>
        <source>左のプレイヤーのパッドが外れました</source>
        <translation>Left player&apos;s controller unplugged</translation>
    </message>
    <message>
        <source>右のプレイヤーのパッドが外れました</source>
        <translation>Right player&apos;s controller unplugged</translation>
    </message>
</context>
<context>
    <name>zelkar::qt::ScoreWindow</name>
    <message>
        <source>得点</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>左側の人の得点</source>
        <translation>Left player</translation>
    </message>
    <message>
        <source>右側の人の得点</source>
        <translation>Right player</translation>
    </message>
</context>
<context>
    <name>zelkar::qt::SettingsWindow</name>
    <message>
        <source>初期設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>キーボード種別</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>１０キー有り</source>
        <translation>Keypad</translation>
    </message>
    <message>
        <source>操作性調整</source>
        <translation>Game speed</translation>
    </message>
    <message>
        <source>値範囲：10以上</source>
        <translation>ms/tick, 10+</translation>
    </message>
    <message>
        <source>効果音設定</source>
        <translation>Sound effects</translation>
    </message>
    <message>
        <source>音有り</source>
        <translation>On</translation>
    </message>
    <message>
        <source>既定値</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>言語 (Language)</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>config.txt の値：%1</source>
        <translation>Value in config.txt: %1</translation>
    </message>
    <message>
        <source>10以上の値に設定して下さい。</source>
        <translation>Please enter 10 or more.</translation>
    </message>
    <message>
        <source>操作性調整値</source>
        <translation>Game speed</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。
%1
%2</source>
        <translation>The settings could not be saved.
%1
%2</translation>
    </message>
    <message>
        <source>言語の選択を保存できませんでした。
%1
%2</source>
        <translation>The language choice could not be saved.
%1
%2</translation>
    </message>
</context>
</TS>
