#include "launcher/OrlimWebDlg.h"

namespace
{

// The platforms fill the rows before the manual-entry row.
const int kPlatformRows = COrlimWebDlg::kManualEntryRow;

// The platforms' pages, row by row (row 0 is the launcher maker's own site).
const wchar_t* const kPlatformUrls[kPlatformRows] = {
    L"http://www.velka.cn/",                                // Velka官网
    L"http://www.ostrel.com/serverList.html",               // Ostrel
    L"http://wan.360.cn/orlim/",                            // 360
    L"http://orlim.37wan.com/server_list.html",             // 37wan
    L"http://orlim.duowan.com/",                            // 多玩
    L"http://www.6711.com/servers_list_orlim.html",         // 6711
    L"http://web.4399.com/orlim/",                          // 4399
    L"http://web.7k7k.com/games/orlim/",                    // 7k7k
    L"http://orlim.kugou.com/",                             // 酷狗
    L"http://orlim.niu.xunlei.com/server.shtml",            // 迅雷
    L"http://belvar.baidu.com/",                            // 百度Belvar
    L"http://orlim.xdwan.com/",                             // 兄弟玩
    L"http://www.91wan.com/orlim/",                         // 91wan
    L"http://www.kuaiwan.com/orlim/",                       // 快玩
    L"http://orlim.wan.sogou.com/",                         // 搜狗
    L"http://orlim.kuwo.cn/",                               // 酷我
    L"http://www.ibaiyu.com/gameserver_list.aspx?gameid=2", // 爱百娱
    L"http://orlim.lehaihai.com/",                          // 乐嗨嗨
    L"http://orlim.22kk.com/",                              // 22KK
    L"http://www.douxie.com/orlim/",                        // 斗蟹网
    L"http://orlim.51wan.com/",                             // 51wan
    L"http://orlim.05wan.com/",                             // 05wan
    L"http://www.eqorlim.com/",                             // EQOrlim
    L"http://orlim.56you.com/",                             // 56you
    L"http://orlim.49you.com/",                             // 49you
    L"http://orlim.niu99.com/",                             // 牛久久
    L"http://orlim.changyou.com/",                          // 畅游
    L"http://orlim.games.sina.com.cn/",                     // 新浪Orlim
    L"http://www.weiorlim.com/orlimol/",                    // 微Orlim
    L"http://www.51orlim.com/",                             // 51Orlim
    L"http://orlim.game.pps.tv/",                           // PPS
    L"http://game.renren.com/orlim/",                       // 人人网
    L"http://www.qidian.com/game/orlim/index.html",         // 起点
    L"http://www.daowulin.com/orlim/",                      // 到武林
    L"http://orlim.verycd.com/",                            // 电驴
    L"http://orlim.sdo.com/",                               // 盛大
    L"http://orlim.95k.com/",                               // 95K
    L"http://www.2133.com/orlim/",                          // 2133
    L"http://orlim.gamefy.cn/select.php",                   // 游戏风云
    L"http://www.2918.com/orlim/",                          // 2918
    L"http://orlim.yaowan.com/",                            // 要玩Orlim
    L"http://orlim.lequ.com/",                              // 乐趣
    L"http://orlim.8090.com/",                              // 8090
    L"http://orlim.baomihua.com/",                          // 爆米花
    L"http://www.iugame.com/orlim/",                        // iugame
    L"http://orlim.56uu.com/",                              // 56UU
    L"http://orlim.178.com/",                               // 178Orlim
    L"http://www.game168.com.cn/orlim/",                    // game168
    L"http://www.yxgaga.com/orlim/",                        // 游戏GAGA
    L"http://orlim.2345.com/",                              // 2345
    L"http://www.915orlim.com/",                            // 915Orlim
    L"http://www.weiweiwan.com/orlim/",                     // 微微玩
    L"http://orlim.kedou.com/",                             // 蝌蚪
    L"http://www.008wan.com/orlim/index.html",              // 008玩
    L"http://orlim.dazhu.com/",                             // 大猪网
    L"http://www.huanchang.com/orlim/",                     // 欢畅
    L"http://orlim.zixia.com/",                             // 紫霞
    L"http://orlim.92you.com/",                             // 92you
    L"http://www.951717.com/orlim/",                        // 951717
    L"http://www.kaixin001.com/app/orlim.php",              // 开心网
    L"http://web.changyou.com/gameList/game-orlim.shtml",   // 畅游页游
    L"http://orlim.76wan.com/",                             // 76wan
    L"http://www.2125.com/orlim/",                          // 2125
    L"http://game.pptv.com/orlim/",                         // PPTV
    L"http://www.91orlim.com/",                             // 91Orlim
    L"http://www.dipan.com/orlim/servers.html",             // 地盘网
    L"http://orlim.35wan.com/",                             // 35wan
    L"http://games.ifeng.com/orlim/",                       // 凤凰网
    L"http://www.ganwan.com/game.php?gid=orlim",            // 敢玩
    L"http://www.9wee.com/Game/content/app_224.html",       // 九维
    L"http://orlim.91rpg.com",                              // 91RPG
    L"http://orlim.37wanwan.com/",                          // 37wanwan
    L"http://www.wa3.com/orlim/",                           // WA3
    L"http://orlim.99youxi.com/",                           // 99游戏
    L"http://game.funshion.com/orlim/",                     // 风行
    L"http://www.44wan.com/game/server/gid/61.html",        // 44玩
    L"http://www.376wan.com/orlim/list.html",               // 376玩
    L"http://orlim.hl17.com/",                              // 欢乐一起玩
};

} // namespace

// Catalogue

void COrlimWebDlg::FillPlatformUrls()
{
    for (int nRow = 0; nRow < kPlatformRows; ++nRow)
        m_strUrls[nRow] = kPlatformUrls[nRow];
}

CString COrlimWebDlg::GetPlatformUrl(int nRow) const
{
    if (nRow < 0 || nRow > kManualEntryRow)
        return CString();
    return m_strUrls[nRow];
}

BOOL COrlimWebDlg::IsManualEntryRow(int nRow) const
{
    const int nRows = static_cast<int>(::SendMessageW(m_cbPlatform.m_hWnd, CB_GETCOUNT, 0, 0));
    return nRow == nRows - 1;
}
