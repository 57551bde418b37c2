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
    <name>zelkar::qt::ConnectDialog</name>
    <message>
        <source>通信対戦</source>
        <translation>Online match</translation>
    </message>
    <message>
        <source>待ち合わせサーバー：</source>
        <translation>Meeting point:</translation>
    </message>
    <message>
        <source>空欄ならアドレスで直接つなぎます</source>
        <translation>Leave empty to connect by address</translation>
    </message>
    <message>
        <source>ホストになる</source>
        <translation>Host a match</translation>
    </message>
    <message>
        <source>招待コードまたはアドレス：</source>
        <translation>Invitation code or address:</translation>
    </message>
    <message>
        <source>例：K7Q2XMRB&#x3000;または&#x3000;192.0.2.7:41830</source>
        <translation>e.g. K7Q2XMRB or 192.0.2.7:41830</translation>
    </message>
    <message>
        <source>セッションコード：</source>
        <translation>Session code:</translation>
    </message>
    <message>
        <source>アドレスで参加する時だけ</source>
        <translation>Only when joining by address</translation>
    </message>
    <message>
        <source>参加する</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>待ち合わせサーバーのアドレスが正しくありません。「名前」か「名前:ポート」の形で入力して下さい。</source>
        <translation>The meeting point&apos;s address is not valid. Type it as &quot;name&quot; or &quot;name:port&quot;.</translation>
    </message>
    <message>
        <source>招待コード（8文字）か、相手のアドレス（例：192.0.2.7:41830）を入力して下さい。</source>
        <translation>Type the invitation code (8 characters) or the other player&apos;s address (e.g. 192.0.2.7:41830).</translation>
    </message>
    <message>
        <source>招待コードで参加するには、相手と同じ待ち合わせサーバーを入力して下さい。</source>
        <translation>To join by invitation code, type the same meeting point as the other player&apos;s.</translation>
    </message>
    <message>
        <source>アドレスで参加する時は、相手の画面のセッションコードも入力して下さい。</source>
        <translation>When joining by address, also type the session code shown on the other player&apos;s screen.</translation>
    </message>
    <message>
        <source>招待コード</source>
        <translation>Invitation code</translation>
    </message>
    <message>
        <source>セッションコード</source>
        <translation>Session code</translation>
    </message>
    <message>
        <source>このコードを相手に伝えて下さい。相手は「参加する」の欄に入力します。</source>
        <translation>Give this code to the other player, who types it under &quot;Join&quot;.</translation>
    </message>
    <message>
        <source>相手にはこのコードと、この機械のアドレスとポートを伝えて下さい。</source>
        <translation>Give the other player this code, and this machine&apos;s address and port.</translation>
    </message>
    <message>
        <source>ポート %1</source>
        <translation>Port %1</translation>
    </message>
    <message>
        <source>ポート %1&#x3000;外部アドレス %2</source>
        <translation>Port %1   External address %2</translation>
    </message>
    <message>
        <source>待ち合わせサーバーに問い合わせています…（%1秒）</source>
        <translation>Asking the meeting point… (%1 s)</translation>
    </message>
    <message>
        <source>待ち合わせサーバーに登録しています…（%1秒）</source>
        <translation>Registering with the meeting point… (%1 s)</translation>
    </message>
    <message>
        <source>相手の参加を待っています…（%1秒）</source>
        <translation>Waiting for the other player to join… (%1 s)</translation>
    </message>
    <message>
        <source>相手への経路を開いています…（%1秒）</source>
        <translation>Opening the path to the other player… (%1 s)</translation>
    </message>
    <message>
        <source>接続しています…（%1秒）</source>
        <translation>Connecting… (%1 s)</translation>
    </message>
    <message>
        <source>中継サーバーを通して接続しています…（%1秒）</source>
        <translation>Connecting through the relay server… (%1 s)</translation>
    </message>
    <message>
        <source>相手の接続を待っています…（%1秒）</source>
        <translation>Waiting for the other player to connect… (%1 s)</translation>
    </message>
    <message>
        <source>接続しました。</source>
        <translation>Connected.</translation>
    </message>
    <message>
        <source>通信の準備ができませんでした（%1）。同じポートを使う他のプログラムを終了してから、やり直して下さい。</source>
        <translation>Could not open the network connection (%1). Close any other program using the same port, then try again.</translation>
    </message>
    <message>
        <source>待ち合わせサーバーが見つかりません。アドレスの綴りを確かめて下さい。</source>
        <translation>The meeting point cannot be found. Check the spelling of its address.</translation>
    </message>
    <message>
        <source>待ち合わせサーバーが応答しません。アドレスを確かめるか、しばらくしてからやり直して下さい。</source>
        <translation>The meeting point does not answer. Check its address, or try again later.</translation>
    </message>
    <message>
        <source>その招待コードはありません（打ち間違いか、期限切れです）。相手にコードを確かめて下さい。</source>
        <translation>There is no such invitation code (mistyped, or expired). Check the code with the other player.</translation>
    </message>
    <message>
        <source>この招待コードでは既に他の人が参加しています。相手に新しいコードを作ってもらって下さい。</source>
        <translation>Someone else has already joined with this invitation code. Ask the other player to make a new code.</translation>
    </message>
    <message>
        <source>待ち合わせサーバーが混み合っています。1分ほどしてからやり直して下さい。</source>
        <translation>The meeting point is busy. Try again in about a minute.</translation>
    </message>
    <message>
        <source>%1分待ちましたが、誰も参加しませんでした。相手の準備ができてから、もう一度ホストになって下さい。</source>
        <translation>Nobody joined within %1 minutes. Host again when the other player is ready.</translation>
    </message>
    <message>
        <source>相手への経路を開けませんでした（どちらかのルーターが通しません）。別のネットワークで遊ぶか、ホストのルーターでポートを転送し、アドレスで参加して下さい。</source>
        <translation>No path to the other player could be opened (one of the routers blocks it). Play from another network, or forward the port on the host&apos;s router and join by address.</translation>
    </message>
    <message>
        <source>そのアドレスに相手が見つかりませんでした。アドレスとポートを確かめ、相手がホストになっているか確かめて下さい。</source>
        <translation>Nobody was found at that address. Check the address and port, and that the other player is hosting.</translation>
    </message>
    <message>
        <source>接続できませんでした（%1）。</source>
        <translation>Could not connect (%1).</translation>
    </message>
    <message>
        <source>相手への経路が開けず、中継サーバーも使えませんでした。しばらくしてからやり直すか、待ち合わせサーバーの管理者に知らせて下さい。</source>
        <translation>No path to the other player opened, and the relay server could not be used either. Try again later, or tell whoever runs the meeting point.</translation>
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
    <message>
        <source>直接</source>
        <translation>direct</translation>
    </message>
    <message>
        <source>ルーター越し</source>
        <translation>through the routers</translation>
    </message>
    <message>
        <source>同じネットワーク内</source>
        <translation>on the same network</translation>
    </message>
    <message>
        <source>中継サーバー経由</source>
        <translation>through the relay server</translation>
    </message>
    <message>
        <source>&#x3000;%1・往復 %2 ms</source>
        <translation> - %1, round trip %2 ms</translation>
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
